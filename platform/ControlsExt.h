#pragma once
// Pictures, shapes, paint boxes, scroll boxes, page controls and the tree view.
#include "platform/ControlsCom.h"
#include "platform/Forms.h"
#include "platform/Pictures.h"

#include <memory>
#include <vector>

class QTabBar;
class QTreeWidgetItem;

// ---- pictures and shapes ----------------------------------------------------------

class TImage : public TControl {
public:
    explicit TImage(TComponent* AOwner);
    ~TImage() override;
    QString ClassName() const override { return QStringLiteral("TImage"); }

    TPicture* Picture() { return m_picture.get(); }
    const TPicture* Picture() const { return m_picture.get(); }
    // The canvas of the picture's bitmap; an empty picture gets a white bitmap of
    // DrawingWidth x DrawingHeight first.
    TCanvas* Canvas();
    // The size a picture is drawn for: the image's design size in a scaled
    // window, unless the picture is drawn for the image's own size.
    int DrawingWidth() const;
    int DrawingHeight() const;
    bool Stretch() const { return m_stretch; }
    void SetStretch(bool s);
    bool Center() const { return m_center; }
    void SetCenter(bool c);
    bool Proportional() const { return m_proportional; }
    void SetProportional(bool p);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool t);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool a);
    // Every picture, drawn or loaded, is made for the image's design size: when
    // the window is scaled, it shows enlarged with the control as a whole, and
    // mouse positions reach the handlers as pixels of the design size. A
    // picture that is drawn anew for the image's scaled size turns this off.
    bool ScalePicture() const { return m_scalePicture; }
    void SetScalePicture(bool s);

    bool OwnPaint() const override { return true; }
    void PaintWidget(QPainter& p) override;
    // Where the picture is drawn inside the control.
    TRect DestRect() const;
    void ScaleBy(int M, int D) override;

protected:
    TPoint MousePlace(int X, int Y) const override;

private:
    void PictureChanged();
    // Whether the image stands enlarged for its design size.
    bool ShowsDesign() const;
    // Whether the picture shows enlarged: a stretched one fills the control
    // at any size by itself.
    bool Enlarged() const;
    TRect DestRectIn(int cw, int ch) const;
    std::unique_ptr<TPicture> m_picture;
    TCanvas* m_hookedCanvas = nullptr;
    std::shared_ptr<int> m_guard = std::make_shared<int>(0);
    bool m_stretch = false;
    bool m_center = false;
    bool m_proportional = false;
    bool m_transparent = false;
    bool m_autoSize = false;
    bool m_scalePicture = true;
    // The size before the window's scaling, once it is scaled.
    int m_designWidth = 0, m_designHeight = 0;
};

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

class TShape : public TControl {
public:
    explicit TShape(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TShape"); }
    TShapeType Shape() const { return m_shape; }
    void SetShape(TShapeType s);
    TPen* Pen() { return &m_pen; }
    TBrush* Brush() { return &m_brush; }

    bool OwnPaint() const override { return true; }
    void PaintWidget(QPainter& p) override;
    // Draws the shape on any canvas, at the control's size.
    void PaintOn(TCanvas& c) const;

private:
    TShapeType m_shape = stRectangle;
    TPen m_pen;
    TBrush m_brush;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TControl {
public:
    explicit TBevel(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TBevel"); }
    TBevelShape Shape() const { return m_shape; }
    void SetShape(TBevelShape s) {
        m_shape = s;
        Invalidate();
    }
    TBevelStyle Style() const { return m_style; }
    void SetStyle(TBevelStyle s) {
        m_style = s;
        Invalidate();
    }
    bool OwnPaint() const override { return true; }
    void PaintWidget(QPainter& p) override;

private:
    TBevelShape m_shape = bsBox;
    TBevelStyle m_style = bsLowered;
};

// A surface the program paints in OnPaint through Canvas().
class TPaintBox : public TControl {
public:
    explicit TPaintBox(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TPaintBox"); }
    // Valid during OnPaint only (nullptr elsewhere).
    TCanvas* Canvas() { return m_canvas; }
    TNotifyEvent OnPaint;
    bool OwnPaint() const override { return true; }
    void PaintWidget(QPainter& p) override;

private:
    TCanvas* m_canvas = nullptr;
};

// ---- containers -------------------------------------------------------------------

class TScrollBox : public TWinControl {
public:
    explicit TScrollBox(TComponent* AOwner);
    QString ClassName() const override { return QStringLiteral("TScrollBox"); }
    QWidget* ClientWidget() const override;
    void ChildBoundsChanged(TControl* child) override {
        (void)child;
        UpdateRange();
    }
    int HorzPosition() const;
    void SetHorzPosition(int p);
    int VertPosition() const;
    void SetVertPosition(int p);
    // Makes the content area cover every child.
    void UpdateRange();
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle b);
    bool HorzScrollBarVisible() const { return m_horzVisible; }
    void SetHorzScrollBarVisible(bool v);
    bool VertScrollBarVisible() const { return m_vertVisible; }
    void SetVertScrollBarVisible(bool v);

protected:
    void ColorChanged() override;
    void BoundsChanged() override;

private:
    QWidget* m_content = nullptr;
    TBorderStyle m_borderStyle = bsSingle;
    bool m_horzVisible = true;
    bool m_vertVisible = true;
};

class TPageControl;

class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;
    QString ClassName() const override { return QStringLiteral("TTabSheet"); }
    TPageControl* PageControl() const { return m_pageControl; }
    void SetPageControl(TPageControl* pc);
    bool TabVisible() const { return m_tabVisible; }
    void SetTabVisible(bool v);
    int PageIndex() const;
    bool OwnPaint() const override { return true; }
    void PaintWidget(QPainter& p) override;

protected:
    void CaptionChanged() override;

private:
    friend class TPageControl;
    TPageControl* m_pageControl = nullptr;
    bool m_tabVisible = true;
};

class TPageControl : public TWinControl {
public:
    explicit TPageControl(TComponent* AOwner);
    ~TPageControl() override;
    QString ClassName() const override { return QStringLiteral("TPageControl"); }
    int PageCount() const { return static_cast<int>(m_pages.size()); }
    TTabSheet* Pages(int i) const;
    TTabSheet* ActivePage() const { return m_active; }
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int i);
    // Room left for the pages.
    TRect PageRect() const;

    TNotifyEvent OnChange;

    bool OwnPaint() const override { return true; }
    void PaintWidget(QPainter& p) override;
    void ScaleBy(int M, int D) override;

    // --- used by the sheets ---
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void UpdateTabs();

protected:
    void BoundsChanged() override;

private:
    void LayoutPages();
    std::vector<TTabSheet*> m_pages;
    TTabSheet* m_active = nullptr;
    QTabBar* m_tabs = nullptr;
    bool m_syncing = false;
};

// ---- tree view --------------------------------------------------------------------

class TTreeView;
class TTreeNodes;

class TTreeNode {
public:
    QString Text() const { return m_text; }
    void SetText(const QString& t);
    TTreeNode* Parent() const { return m_parent; }
    // Position in the whole tree, top to bottom, from 0.
    int AbsoluteIndex() const;
    // Position among its siblings.
    int Index() const;
    int Level() const;
    int Count() const { return static_cast<int>(m_children.size()); }
    TTreeNode* Item(int i) const;
    TTreeNode* GetFirstChild() const { return m_children.empty() ? nullptr : m_children.front(); }
    // The next node in tree order.
    TTreeNode* GetNext() const;
    TTreeNode* GetNextSibling() const;
    bool HasChildren() const { return !m_children.empty(); }
    bool Expanded() const;
    void Expand(bool recurse);
    void Collapse(bool recurse);
    bool Selected() const;
    void* Data() const { return m_data; }
    void SetData(void* d) { m_data = d; }
    int ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int i) { m_imageIndex = i; }
    TTreeNodes* Owner() const { return m_owner; }

private:
    friend class TTreeNodes;
    friend class TTreeView;
    TTreeNodes* m_owner = nullptr;
    TTreeNode* m_parent = nullptr;
    std::vector<TTreeNode*> m_children;
    QString m_text;
    QTreeWidgetItem* m_item = nullptr;
    void* m_data = nullptr;
    int m_imageIndex = -1;
};

class TTreeNodes {
public:
    explicit TTreeNodes(TTreeView* view) : m_view(view) {}
    ~TTreeNodes();
    TTreeNodes(const TTreeNodes&) = delete;
    TTreeNodes& operator=(const TTreeNodes&) = delete;

    int Count() const { return static_cast<int>(m_order.size()); }
    // By absolute index.
    TTreeNode* Item(int i) const;
    TTreeNode* operator[](int i) const { return Item(i); }
    TTreeNode* GetFirstNode() const { return m_order.empty() ? nullptr : m_order.front(); }
    // A last child of parent (a top-level node for nullptr).
    TTreeNode* AddChild(TTreeNode* parent, const QString& text);
    // A node after the last sibling of sibling (top level for nullptr).
    TTreeNode* Add(TTreeNode* sibling, const QString& text);
    void Delete(TTreeNode* node);
    void Clear();
    void BeginUpdate() {}
    void EndUpdate() {}
    TTreeView* Owner() const { return m_view; }

    // --- internal ---
    int IndexOf(const TTreeNode* n) const;
    TTreeNode* FromItem(const QTreeWidgetItem* item) const;

private:
    void Rebuild();
    TTreeView* m_view;
    std::vector<TTreeNode*> m_roots;
    std::vector<TTreeNode*> m_order;
    std::vector<std::unique_ptr<TTreeNode>> m_storage;
};

class TTreeView : public TWinControl {
public:
    explicit TTreeView(TComponent* AOwner);
    ~TTreeView() override;
    QString ClassName() const override { return QStringLiteral("TTreeView"); }
    TTreeNodes* Items() { return &m_items; }
    TTreeNode* Selected() const { return m_selected; }
    void SetSelected(TTreeNode* n);
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool r) { m_readOnly = r; }
    bool AutoExpand() const { return m_autoExpand; }
    void SetAutoExpand(bool a) { m_autoExpand = a; }
    bool ShowButtons() const { return m_showButtons; }
    void SetShowButtons(bool s);
    bool ShowLines() const { return m_showLines; }
    void SetShowLines(bool s) { m_showLines = s; }
    bool ShowRoot() const { return m_showRoot; }
    void SetShowRoot(bool s);
    int Indent() const { return m_indent; }
    void SetIndent(int i);
    bool HideSelection() const { return m_hideSelection; }
    void SetHideSelection(bool h) { m_hideSelection = h; }
    void FullExpand();
    void FullCollapse();

    std::function<void(TObject* Sender, TTreeNode* Node)> OnChange;

    // --- internal ---
    QWidget* TreeWidget() const;
    void NodeRemoved(TTreeNode* n);

protected:
    void ColorChanged() override;
    void FontChanged() override;
    bool ClickOnMouseUp() const override { return false; }

private:
    TTreeNodes m_items{this};
    TTreeNode* m_selected = nullptr;
    bool m_readOnly = false;
    bool m_autoExpand = false;
    bool m_showButtons = true;
    bool m_showLines = true;
    bool m_showRoot = true;
    int m_indent = 19;
    bool m_hideSelection = true;
};
