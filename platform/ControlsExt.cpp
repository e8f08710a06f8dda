#include "platform/ControlsExt.h"

#include "platform/ControlsStd.h"
#include "platform/Fonts.h"
#include "platform/Messages.h"
#include "platform/Runtime.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPersistentModelIndex>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTreeWidget>

#include <algorithm>
#include <cmath>

namespace {

using PlainWidget = THooked<QWidget>;

QColor qc(TColor c) {
    return ToQColor(ColorToRGB(c));
}

// A tree whose expand buttons can be left out.
class ButtonTree : public QTreeWidget {
public:
    bool ShowButtons = true;

protected:
    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override {
        if (ShowButtons) QTreeWidget::drawBranches(painter, rect, index);
    }
    void mousePressEvent(QMouseEvent* e) override {
        m_pressed = QPersistentModelIndex(indexAt(e->position().toPoint()));
        m_pressTime.start();
        QTreeWidget::mousePressEvent(e);
    }
    // The first click of a double click may select a row whose neighbours then
    // fold away (auto-expand), so that the second click falls on another row:
    // the double click belongs to the row that was clicked first.
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        const QModelIndex now = indexAt(e->position().toPoint());
        if (m_pressed.isValid() && now != QModelIndex(m_pressed) && m_pressTime.isValid() &&
            m_pressTime.elapsed() <= qint64(GetDoubleClickTime())) {
            QTreeWidgetItem* item = itemFromIndex(m_pressed);
            setCurrentItem(item);
            emit itemDoubleClicked(item, 0);
            return;
        }
        QTreeWidget::mouseDoubleClickEvent(e);
    }

private:
    QPersistentModelIndex m_pressed;
    QElapsedTimer m_pressTime;
};

} // namespace

// ---- TImage ------------------------------------------------------------------------

TImage::TImage(TComponent* AOwner) : TControl(AOwner), m_picture(std::make_unique<TPicture>()) {
    auto* w = new PlainWidget(this);
    Attach(w, w);
    m_width = 105;
    m_height = 105;
    m_picture->OnChange = [this] { PictureChanged(); };
}

TImage::~TImage() {
    m_picture->OnChange = nullptr;
    m_guard.reset();
}

void TImage::PictureChanged() {
    if (m_autoSize && !m_picture->Empty()) SetBounds(m_left, m_top, m_picture->Width(), m_picture->Height());
    if (TGraphic* g = m_picture->Graphic())
        if (m_transparent != g->Transparent()) g->SetTransparent(m_transparent);
    Invalidate();
}

TCanvas* TImage::Canvas() {
    TGraphic* g = m_picture->Graphic();
    if (g && !dynamic_cast<TBitmap*>(g) && !g->Empty()) {
        // Drawing on a JPEG or metafile goes to a bitmap of its pixels.
        auto bmp = std::make_unique<TBitmap>(g->ToImage());
        m_picture->SetGraphic(std::move(bmp));
    }
    TBitmap* bmp = m_picture->Bitmap();
    if (bmp->Empty()) bmp->SetSize(std::max(1, DrawingWidth()), std::max(1, DrawingHeight()));
    TCanvas* c = bmp->Canvas();
    if (c != m_hookedCanvas) {
        // Drawing repaints the image, for as long as the image lives.
        auto previous = c->OnChange;
        std::weak_ptr<int> guard = m_guard;
        c->OnChange = [this, previous, guard] {
            if (previous) previous();
            if (!guard.expired()) Invalidate();
        };
        m_hookedCanvas = c;
    }
    Invalidate();
    return c;
}

void TImage::SetStretch(bool s) {
    m_stretch = s;
    Invalidate();
}
void TImage::SetCenter(bool c) {
    m_center = c;
    Invalidate();
}
void TImage::SetProportional(bool p) {
    m_proportional = p;
    Invalidate();
}
void TImage::SetTransparent(bool t) {
    m_transparent = t;
    if (TGraphic* g = m_picture->Graphic()) g->SetTransparent(t);
    Invalidate();
}
void TImage::SetAutoSize(bool a) {
    m_autoSize = a;
    PictureChanged();
}

void TImage::SetScalePicture(bool s) {
    m_scalePicture = s;
    Invalidate();
}

void TImage::ScaleBy(int M, int D) {
    if (D != 0 && m_designWidth == 0) {
        m_designWidth = m_width;
        m_designHeight = m_height;
    }
    TControl::ScaleBy(M, D);
}

int TImage::DrawingWidth() const {
    return m_scalePicture && m_designWidth > 0 ? m_designWidth : m_width;
}

int TImage::DrawingHeight() const {
    return m_scalePicture && m_designWidth > 0 ? m_designHeight : m_height;
}

bool TImage::ShowsDesign() const {
    return m_scalePicture && m_designWidth > 0 && m_designHeight > 0 &&
           (m_width != m_designWidth || m_height != m_designHeight);
}

bool TImage::Enlarged() const {
    return ShowsDesign() && !m_stretch;
}

TRect TImage::DestRect() const {
    if (!Enlarged()) return DestRectIn(m_width, m_height);
    // Placed as in the design size, then enlarged with the control.
    const TRect r = DestRectIn(m_designWidth, m_designHeight);
    const auto X = [this](int v) { return MulDiv(v, m_width, m_designWidth); };
    const auto Y = [this](int v) { return MulDiv(v, m_height, m_designHeight); };
    return Rect(X(r.Left), Y(r.Top), X(r.Right), Y(r.Bottom));
}

TPoint TImage::MousePlace(int X, int Y) const {
    if (!ShowsDesign()) return TPoint{X, Y};
    // The design pixel under the mouse.
    const auto Zurueck = [](int v, int Design, int Jetzt) {
        return static_cast<int>(std::floor((v + 0.5) * Design / Jetzt));
    };
    return TPoint{Zurueck(X, m_designWidth, m_width), Zurueck(Y, m_designHeight, m_height)};
}

TRect TImage::DestRectIn(int cw, int ch) const {
    int w = m_picture->Width(), h = m_picture->Height();
    if (m_stretch || (m_proportional && (w > cw || h > ch))) {
        if (m_proportional && w > 0 && h > 0) {
            double xyaspect = static_cast<double>(w) / h;
            if (w > h) {
                w = cw;
                h = static_cast<int>(cw / xyaspect);
                if (h > ch) {
                    h = ch;
                    w = static_cast<int>(ch * xyaspect);
                }
            } else {
                h = ch;
                w = static_cast<int>(ch * xyaspect);
                if (w > cw) {
                    w = cw;
                    h = static_cast<int>(cw / xyaspect);
                }
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    TRect r = Rect(0, 0, w, h);
    if (m_center) OffsetRect(r, (cw - w) / 2, (ch - h) / 2);
    return r;
}

void TImage::PaintWidget(QPainter& p) {
    TGraphic* g = m_picture->Graphic();
    if (!g || g->Empty()) return;
    if (Enlarged()) p.setRenderHint(QPainter::SmoothPixmapTransform);
    TCanvas c(&p);
    g->Draw(c, DestRect());
}

// ---- TShape ------------------------------------------------------------------------

TShape::TShape(TComponent* AOwner) : TControl(AOwner) {
    auto* w = new PlainWidget(this);
    Attach(w, w);
    m_width = 65;
    m_height = 65;
    m_pen.OnChange = [this] { Invalidate(); };
    m_brush.OnChange = [this] { Invalidate(); };
}

void TShape::SetShape(TShapeType s) {
    m_shape = s;
    Invalidate();
}

void TShape::PaintOn(TCanvas& c) const {
    c.Pen()->Assign(m_pen);
    c.Brush()->Assign(m_brush);
    int pw = m_pen.Width();
    int x = pw / 2, y = pw / 2;
    int w = m_width - pw + 1, h = m_height - pw + 1;
    if (pw == 0) {
        --w;
        --h;
    }
    int s = std::min(w, h);
    if (m_shape == stSquare || m_shape == stRoundSquare || m_shape == stCircle) {
        x += (w - s) / 2;
        y += (h - s) / 2;
        w = h = s;
    }
    switch (m_shape) {
    case stRectangle:
    case stSquare:
        c.Rectangle(x, y, x + w, y + h);
        break;
    case stRoundRect:
    case stRoundSquare:
        c.RoundRect(x, y, x + w, y + h, s / 4, s / 4);
        break;
    case stEllipse:
    case stCircle:
        c.Ellipse(x, y, x + w, y + h);
        break;
    }
}

void TShape::PaintWidget(QPainter& p) {
    TCanvas c(&p);
    PaintOn(c);
}

// ---- TBevel ------------------------------------------------------------------------

TBevel::TBevel(TComponent* AOwner) : TControl(AOwner) {
    auto* w = new PlainWidget(this);
    Attach(w, w);
    m_width = 50;
    m_height = 50;
}

void TBevel::PaintWidget(QPainter& p) {
    QColor c1 = qc(m_style == bsLowered ? clBtnShadow : clBtnHighlight);
    QColor c2 = qc(m_style == bsLowered ? clBtnHighlight : clBtnShadow);
    int w = m_width - 1, h = m_height - 1;
    auto ln = [&p](const QColor& c, int x1, int y1, int x2, int y2) {
        p.setPen(c);
        p.drawLine(x1, y1, x2, y2);
    };
    switch (m_shape) {
    case bsBox:
        ln(c1, 0, 0, w, 0);
        ln(c1, 0, 0, 0, h);
        ln(c2, 0, h, w, h);
        ln(c2, w, 0, w, h);
        break;
    case bsFrame:
        p.setPen(c1);
        p.drawRect(0, 0, w - 1, h - 1);
        p.setPen(c2);
        p.drawRect(1, 1, w - 1, h - 1);
        break;
    case bsTopLine:
        ln(c1, 0, 0, w, 0);
        ln(c2, 0, 1, w, 1);
        break;
    case bsBottomLine:
        ln(c1, 0, h - 1, w, h - 1);
        ln(c2, 0, h, w, h);
        break;
    case bsLeftLine:
        ln(c1, 0, 0, 0, h);
        ln(c2, 1, 0, 1, h);
        break;
    case bsRightLine:
        ln(c1, w - 1, 0, w - 1, h);
        ln(c2, w, 0, w, h);
        break;
    case bsSpacer:
        break;
    }
}

// ---- TPaintBox ---------------------------------------------------------------------

TPaintBox::TPaintBox(TComponent* AOwner) : TControl(AOwner) {
    auto* w = new PlainWidget(this);
    Attach(w, w);
    m_width = 105;
    m_height = 105;
}

void TPaintBox::PaintWidget(QPainter& p) {
    TCanvas c(&p);
    c.Font()->Assign(*Font());
    c.Brush()->SetColor(Color());
    m_canvas = &c;
    if (OnPaint) {
        TFormBusy busy(ParentForm());
        OnPaint(this);
    }
    m_canvas = nullptr;
}

// ---- TScrollBox --------------------------------------------------------------------

TScrollBox::TScrollBox(TComponent* AOwner) : TWinControl(AOwner) {
    auto* w = new THooked<QScrollArea>(this);
    // A box of controls takes no focus of its own: a click on it or on a
    // speed button in it leaves the focus with the control that had it.
    w->setFocusPolicy(Qt::NoFocus);
    m_content = new QWidget();
    m_content->setAutoFillBackground(false);
    w->setWidget(m_content);
    w->setWidgetResizable(false);
    Attach(w, w);
    m_width = 185;
    m_height = 41;
}

QWidget* TScrollBox::ClientWidget() const {
    return m_content;
}

void TScrollBox::UpdateRange() {
    auto* area = static_cast<QScrollArea*>(Widget());
    int w = area->viewport()->width(), h = area->viewport()->height();
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!c->Visible()) continue;
        w = std::max(w, c->Left() + c->Width());
        h = std::max(h, c->Top() + c->Height());
    }
    m_content->resize(w, h);
}

int TScrollBox::HorzPosition() const {
    return static_cast<QScrollArea*>(Widget())->horizontalScrollBar()->value();
}
void TScrollBox::SetHorzPosition(int p) {
    static_cast<QScrollArea*>(Widget())->horizontalScrollBar()->setValue(p);
}
int TScrollBox::VertPosition() const {
    return static_cast<QScrollArea*>(Widget())->verticalScrollBar()->value();
}
void TScrollBox::SetVertPosition(int p) {
    static_cast<QScrollArea*>(Widget())->verticalScrollBar()->setValue(p);
}

void TScrollBox::ColorChanged() {
    TWinControl::ColorChanged();
    auto* area = static_cast<QScrollArea*>(Widget());
    QPalette pal = area->viewport()->palette();
    pal.setColor(QPalette::Window, qc(Color()));
    area->viewport()->setPalette(pal);
    area->viewport()->setAutoFillBackground(true);
}

void TScrollBox::BoundsChanged() {
    TWinControl::BoundsChanged();
    UpdateRange();
}

// ---- TPageControl, TTabSheet -------------------------------------------------------

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
    auto* w = new PlainWidget(this);
    Attach(w, w);
    SetParentColor(true);
}

TTabSheet::~TTabSheet() {
    if (m_pageControl) m_pageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* pc) {
    if (pc == m_pageControl) return;
    if (m_pageControl) m_pageControl->RemovePage(this);
    m_pageControl = pc;
    SetParent(pc);
    if (pc) pc->InsertPage(this);
}

void TTabSheet::SetTabVisible(bool v) {
    m_tabVisible = v;
    if (m_pageControl) m_pageControl->UpdateTabs();
}

int TTabSheet::PageIndex() const {
    if (!m_pageControl) return -1;
    for (int i = 0; i < m_pageControl->PageCount(); ++i)
        if (m_pageControl->Pages(i) == this) return i;
    return -1;
}

void TTabSheet::CaptionChanged() {
    if (m_pageControl) m_pageControl->UpdateTabs();
}

void TTabSheet::PaintWidget(QPainter& p) {
    p.fillRect(0, 0, m_width, m_height, qc(Color()));
}

TPageControl::TPageControl(TComponent* AOwner) : TWinControl(AOwner) {
    auto* w = new PlainWidget(this);
    Attach(w, w);
    m_tabs = new QTabBar(w);
    m_tabs->setDrawBase(false);
    m_tabs->setExpanding(false);
    SetTabStop(true);
    m_width = 289;
    m_height = 193;
    QObject::connect(m_tabs, &QTabBar::currentChanged, [this](int tab) {
        RunHandler([&] {
            if (m_syncing || tab < 0) return;
            int n = 0;
            for (TTabSheet* p : m_pages)
                if (p->TabVisible() && n++ == tab) {
                    SetActivePage(p);
                    if (OnChange) OnChange(this);
                    return;
                }
        });
    });
}

TPageControl::~TPageControl() {
    for (TTabSheet* p : m_pages)
        p->m_pageControl = nullptr;
    m_pages.clear();
}

TTabSheet* TPageControl::Pages(int i) const {
    return i >= 0 && i < PageCount() ? m_pages[static_cast<size_t>(i)] : nullptr;
}

void TPageControl::InsertPage(TTabSheet* page) {
    m_pages.push_back(page);
    if (!m_active) m_active = page;
    UpdateTabs();
}

void TPageControl::RemovePage(TTabSheet* page) {
    m_pages.erase(std::remove(m_pages.begin(), m_pages.end(), page), m_pages.end());
    if (m_active == page) m_active = m_pages.empty() ? nullptr : m_pages.front();
    UpdateTabs();
}

int TPageControl::ActivePageIndex() const {
    return m_active ? m_active->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int i) {
    SetActivePage(Pages(i));
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && page->PageControl() != this) return;
    m_active = page;
    UpdateTabs();
}

TRect TPageControl::PageRect() const {
    bool tabs = m_tabs && m_tabs->count() > 0;
    // Without a visible tab the page fills the control, border and all.
    if (!tabs) return Rect(0, 0, m_width, m_height);
    int top = m_tabs->sizeHint().height();
    return Rect(4, top + 4, std::max(4, m_width - 4), std::max(top + 4, m_height - 4));
}

void TPageControl::UpdateTabs() {
    if (!m_tabs) return;
    m_syncing = true;
    while (m_tabs->count() > 0)
        m_tabs->removeTab(0);
    int current = -1;
    for (TTabSheet* p : m_pages)
        if (p->TabVisible()) {
            int i = m_tabs->addTab(QString(p->Caption()).remove(QLatin1Char('&')));
            if (p == m_active) current = i;
        }
    if (current >= 0) m_tabs->setCurrentIndex(current);
    m_tabs->setVisible(m_tabs->count() > 0);
    m_syncing = false;
    LayoutPages();
}

void TPageControl::LayoutPages() {
    if (m_tabs && m_tabs->count() > 0)
        m_tabs->setGeometry(2, 0, std::max(0, m_width - 4), m_tabs->sizeHint().height());
    TRect r = PageRect();
    for (TTabSheet* p : m_pages) {
        p->SetBounds(r.Left, r.Top, r.Width(), r.Height());
        if (p->Widget()) {
            p->Widget()->setVisible(p == m_active);
            if (p != m_active) FocusOutOfHidden(p);
        }
    }
    Invalidate();
}

void TPageControl::ScaleBy(int M, int D) {
    TWinControl::ScaleBy(M, D);
    // The sheets were laid into the scaled control and then scaled once more
    // as its children: they fill it again.
    LayoutPages();
}

void TPageControl::BoundsChanged() {
    TWinControl::BoundsChanged();
    LayoutPages();
}

void TPageControl::PaintWidget(QPainter& p) {
    p.fillRect(0, 0, m_width, m_height, qc(Color()));
    if (!m_tabs || m_tabs->count() == 0) return;
    TRect pr = PageRect();
    QRect r(pr.Left - 2, pr.Top - 2, pr.Width() + 4, pr.Height() + 4);
    PaintBevel(p, r, bvRaised, 1);
}

// ---- tree view ---------------------------------------------------------------------

void TTreeNode::SetText(const QString& t) {
    m_text = t;
    if (m_item) m_item->setText(0, t);
}

int TTreeNode::AbsoluteIndex() const {
    return m_owner ? m_owner->IndexOf(this) : -1;
}

int TTreeNode::Index() const {
    const std::vector<TTreeNode*>* siblings = nullptr;
    if (m_parent) siblings = &m_parent->m_children;
    if (!siblings)
        return m_item && m_item->treeWidget() ? m_item->treeWidget()->indexOfTopLevelItem(m_item) : -1;
    auto it = std::find(siblings->begin(), siblings->end(), this);
    return it == siblings->end() ? -1 : static_cast<int>(it - siblings->begin());
}

int TTreeNode::Level() const {
    int l = 0;
    for (TTreeNode* p = m_parent; p; p = p->m_parent)
        ++l;
    return l;
}

TTreeNode* TTreeNode::Item(int i) const {
    return i >= 0 && i < Count() ? m_children[static_cast<size_t>(i)] : nullptr;
}

TTreeNode* TTreeNode::GetNext() const {
    return m_owner ? m_owner->Item(AbsoluteIndex() + 1) : nullptr;
}

TTreeNode* TTreeNode::GetNextSibling() const {
    if (!m_parent) {
        int i = AbsoluteIndex();
        for (int k = i + 1; k < m_owner->Count(); ++k)
            if (!m_owner->Item(k)->m_parent) return m_owner->Item(k);
        return nullptr;
    }
    int i = Index();
    return m_parent->Item(i + 1);
}

bool TTreeNode::Expanded() const {
    return m_item && m_item->isExpanded();
}

void TTreeNode::Expand(bool recurse) {
    if (m_item) m_item->setExpanded(true);
    if (recurse)
        for (TTreeNode* c : m_children)
            c->Expand(true);
}

void TTreeNode::Collapse(bool recurse) {
    if (m_item) m_item->setExpanded(false);
    if (recurse)
        for (TTreeNode* c : m_children)
            c->Collapse(true);
}

bool TTreeNode::Selected() const {
    return m_owner && m_owner->Owner()->Selected() == this;
}

TTreeNodes::~TTreeNodes() {
    for (auto& n : m_storage)
        n->m_item = nullptr;
}

TTreeNode* TTreeNodes::Item(int i) const {
    return i >= 0 && i < Count() ? m_order[static_cast<size_t>(i)] : nullptr;
}

int TTreeNodes::IndexOf(const TTreeNode* n) const {
    auto it = std::find(m_order.begin(), m_order.end(), n);
    return it == m_order.end() ? -1 : static_cast<int>(it - m_order.begin());
}

TTreeNode* TTreeNodes::FromItem(const QTreeWidgetItem* item) const {
    for (TTreeNode* n : m_order)
        if (n->m_item == item) return n;
    return nullptr;
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const QString& text) {
    auto node = std::make_unique<TTreeNode>();
    TTreeNode* n = node.get();
    n->m_owner = this;
    n->m_parent = parent;
    n->m_text = text;
    auto* tree = static_cast<QTreeWidget*>(m_view->TreeWidget());
    if (parent) {
        // After the parent's last descendant in tree order.
        int pos = IndexOf(parent) + 1;
        while (pos < Count()) {
            TTreeNode* p = m_order[static_cast<size_t>(pos)]->m_parent;
            bool inside = false;
            for (; p; p = p->m_parent)
                if (p == parent) inside = true;
            if (!inside) break;
            ++pos;
        }
        parent->m_children.push_back(n);
        m_order.insert(m_order.begin() + pos, n);
        n->m_item = new QTreeWidgetItem(parent->m_item, QStringList(text));
    } else {
        m_roots.push_back(n);
        m_order.push_back(n);
        n->m_item = new QTreeWidgetItem(tree, QStringList(text));
    }
    m_storage.push_back(std::move(node));
    return n;
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const QString& text) {
    return AddChild(sibling ? sibling->m_parent : nullptr, text);
}

void TTreeNodes::Delete(TTreeNode* node) {
    if (!node || node->m_owner != this) return;
    while (!node->m_children.empty())
        Delete(node->m_children.back());
    m_view->NodeRemoved(node);
    if (node->m_parent) {
        auto& v = node->m_parent->m_children;
        v.erase(std::remove(v.begin(), v.end(), node), v.end());
    } else {
        m_roots.erase(std::remove(m_roots.begin(), m_roots.end(), node), m_roots.end());
    }
    m_order.erase(std::remove(m_order.begin(), m_order.end(), node), m_order.end());
    delete node->m_item;
    node->m_item = nullptr;
    m_storage.erase(std::remove_if(m_storage.begin(), m_storage.end(),
                                   [node](const std::unique_ptr<TTreeNode>& p) { return p.get() == node; }),
                    m_storage.end());
}

void TTreeNodes::Clear() {
    while (!m_roots.empty())
        Delete(m_roots.back());
}

TTreeView::TTreeView(TComponent* AOwner) : TWinControl(AOwner) {
    auto* w = new THooked<ButtonTree>(this);
    w->setHeaderHidden(true);
    w->setColumnCount(1);
    w->setEditTriggers(QAbstractItemView::NoEditTriggers);
    w->setSelectionMode(QAbstractItemView::SingleSelection);
    Attach(w, w);
    SetTabStop(true);
    SetColor(clWindow);
    m_width = 121;
    m_height = 97;
    SetIndent(19);
    QObject::connect(w, &QTreeWidget::currentItemChanged, [this](QTreeWidgetItem* cur, QTreeWidgetItem*) {
        RunHandler([&] {
            TTreeNode* n = m_items.FromItem(cur);
            if (n == m_selected) return;
            m_selected = n;
            if (m_autoExpand && n) {
                // Only the path to the selected node stays open.
                for (int i = 0; i < m_items.Count(); ++i) {
                    TTreeNode* o = m_items.Item(i);
                    bool onPath = false;
                    for (TTreeNode* p = n; p; p = p->Parent())
                        if (p == o) onPath = true;
                    if (!onPath && o->Expanded()) o->Collapse(false);
                }
                n->Expand(false);
            }
            if (OnChange) OnChange(this, n);
        });
    });
    QObject::connect(w, &QTreeWidget::itemClicked,
                     [this](QTreeWidgetItem*, int) { RunHandler([&] { Click(); }); });
    QObject::connect(w, &QTreeWidget::itemDoubleClicked, [this](QTreeWidgetItem* item, int) {
        RunHandler([&] {
            if (TTreeNode* n = m_items.FromItem(item)) m_selected = n;
            if (OnDblClick) {
                TFormBusy busy(ParentForm());
                OnDblClick(this);
            }
        });
    });
}

TTreeView::~TTreeView() {
    if (Widget()) QObject::disconnect(static_cast<QTreeWidget*>(Widget()), nullptr, nullptr, nullptr);
}

QWidget* TTreeView::TreeWidget() const {
    return Widget();
}

void TTreeView::NodeRemoved(TTreeNode* n) {
    if (m_selected == n) m_selected = nullptr;
}

void TTreeView::SetSelected(TTreeNode* n) {
    auto* w = static_cast<QTreeWidget*>(Widget());
    if (!n) {
        w->setCurrentItem(nullptr);
        m_selected = nullptr;
        return;
    }
    if (n->Owner() != &m_items) return;
    w->setCurrentItem(n->m_item);
    m_selected = n;
}

void TTreeView::SetShowButtons(bool s) {
    m_showButtons = s;
    static_cast<ButtonTree*>(Widget())->ShowButtons = s;
    Widget()->update();
}

void TTreeView::SetShowRoot(bool s) {
    m_showRoot = s;
    static_cast<QTreeWidget*>(Widget())->setRootIsDecorated(s);
}

void TTreeView::SetIndent(int i) {
    m_indent = i;
    static_cast<QTreeWidget*>(Widget())->setIndentation(i);
}

void TTreeView::FullExpand() {
    for (int i = 0; i < m_items.Count(); ++i)
        m_items.Item(i)->Expand(false);
}

void TTreeView::FullCollapse() {
    for (int i = 0; i < m_items.Count(); ++i)
        m_items.Item(i)->Collapse(false);
}

void TTreeView::ColorChanged() {
    TWinControl::ColorChanged();
    auto* w = static_cast<QTreeWidget*>(Widget());
    QPalette pal = w->palette();
    pal.setColor(QPalette::Base, qc(Color()));
    w->setPalette(pal);
}

void TTreeView::FontChanged() {
    TWinControl::FontChanged();
    auto* w = static_cast<QTreeWidget*>(Widget());
    QPalette pal = w->palette();
    pal.setColor(QPalette::Text, qc(Font()->Color()));
    w->setPalette(pal);
}

void TScrollBox::SetBorderStyle(TBorderStyle b) {
    m_borderStyle = b;
    static_cast<QScrollArea*>(Widget())->setFrameShape(b == bsNone ? QFrame::NoFrame : QFrame::StyledPanel);
}

void TScrollBox::SetHorzScrollBarVisible(bool v) {
    m_horzVisible = v;
    static_cast<QScrollArea*>(Widget())->setHorizontalScrollBarPolicy(v ? Qt::ScrollBarAsNeeded
                                                                        : Qt::ScrollBarAlwaysOff);
}

void TScrollBox::SetVertScrollBarVisible(bool v) {
    m_vertVisible = v;
    static_cast<QScrollArea*>(Widget())->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAsNeeded
                                                                      : Qt::ScrollBarAlwaysOff);
}
