#pragma once
// A small chart control: a title, a legend and pie series, drawn with TCanvas.
// Only pies are drawn; axes exist for their label fonts.
#include "platform/Forms.h"

#include <QString>

#include <memory>
#include <vector>

enum TSeriesMarksStyle { smsValue, smsPercent, smsLabel, smsLabelPercent, smsLegend };
enum TLegendAlignment { laLeft, laRight, laTop, laBottom };

class TChart;
class TChartSeries;

// The text boxes beside the slices.
class TSeriesMarks {
public:
    TSeriesMarks();
    TSeriesMarksStyle Style() const { return m_style; }
    void SetStyle(TSeriesMarksStyle s);
    bool Visible() const { return m_visible; }
    void SetVisible(bool v);
    TFont* Font() { return &m_font; }
    TColor BackColor() const { return m_backColor; }
    void SetBackColor(TColor c);
    bool Frame() const { return m_frame; }
    void SetFrame(bool f);
    int ArrowLength() const { return m_arrowLength; }
    void SetArrowLength(int n);

private:
    friend class TChartSeries;
    void Changed();
    TChartSeries* m_series = nullptr;
    TSeriesMarksStyle m_style = smsLabel;
    bool m_visible = false;
    TFont m_font;
    TColor m_backColor = clWhite;
    bool m_frame = true;
    int m_arrowLength = 8;
};

class TChartSeries {
public:
    TChartSeries();
    virtual ~TChartSeries() = default;
    TChartSeries(const TChartSeries&) = delete;
    TChartSeries& operator=(const TChartSeries&) = delete;

    void Clear();
    // Appends a point; its index.
    int Add(double Value, const QString& Label, TColor Color);
    int Count() const { return static_cast<int>(m_points.size()); }
    double Value(int i) const;
    QString Label(int i) const;
    TColor ValueColor(int i) const;
    // Share of point i in the sum of all values in percent; 0 when the sum is
    // not positive. Negative and undefined values count as 0.
    double Percent(int i) const;
    // What the mark of point i shows in the current marks style.
    QString MarkText(int i) const;

    bool ShowInLegend() const { return m_showInLegend; }
    void SetShowInLegend(bool s);
    TSeriesMarks* Marks() { return &m_marks; }
    const TSeriesMarks* Marks() const { return &m_marks; }

protected:
    friend class TChart;
    friend class TSeriesMarks;
    void Changed();
    TChart* m_chart = nullptr;

private:
    struct TPunkt {
        double Value;
        QString Label;
        TColor Color;
    };
    std::vector<TPunkt> m_points;
    bool m_showInLegend = true;
    TSeriesMarks m_marks;
};

class TPieSeries : public TChartSeries {
public:
    bool Circled() const { return m_circled; }
    void SetCircled(bool c);
    int CustomXRadius() const { return m_xRadius; }
    void SetCustomXRadius(int r);
    int CustomYRadius() const { return m_yRadius; }
    void SetCustomYRadius(int r);
    bool Dark3D() const { return m_dark3D; }
    void SetDark3D(bool d);

    // Start and sweep of slice i in degrees, counter-clockwise from three
    // o'clock; the slices follow each other from 90 degrees (twelve o'clock).
    double StartAngle(int i) const;
    double SweepAngle(int i) const;

private:
    bool m_circled = false;
    int m_xRadius = 0, m_yRadius = 0;
    bool m_dark3D = true;
};

struct TChartTitle {
    QString Text;
    TFont Font;
    bool Transparent = true;
    bool Visible = true;
};

struct TChartLegend {
    TFont Font;
    bool Visible = true;
    TLegendAlignment Alignment = laRight;
    int ColorWidth = 12; // width of the colour boxes
    bool Shadow = true;
    int TopPos = 0;
    int VertMargin = 0;
    bool ResizeChart = true;
};

struct TChartAxis {
    TFont LabelsFont;
    bool Visible = true;
};

// One line of the legend.
struct TLegendEintrag {
    QString Text;
    TColor Color;
};

class TChart : public TControl {
public:
    explicit TChart(TComponent* AOwner);
    ~TChart() override;
    QString ClassName() const override { return QStringLiteral("TChart"); }

    TChartTitle* Title() { return &m_title; }
    TChartLegend* Legend() { return &m_legend; }
    TChartAxis* BottomAxis() { return &m_bottomAxis; }
    TChartAxis* LeftAxis() { return &m_leftAxis; }

    // The chart owns its series.
    template <class S> S* AddSeries() {
        auto s = std::make_unique<S>();
        S* p = s.get();
        SeriesAnhaengen(std::move(s));
        return p;
    }
    int SeriesCount() const { return static_cast<int>(m_series.size()); }
    TChartSeries* Series(int i) const;

    // The legend as drawn: the points of every series shown in the legend.
    std::vector<TLegendEintrag> LegendEintraege() const;

    bool View3D() const { return m_view3D; }
    void SetView3D(bool v);
    bool FrameVisible() const { return m_frameVisible; }
    void SetFrameVisible(bool v);
    bool AllowZoom() const { return m_allowZoom; }
    void SetAllowZoom(bool v) { m_allowZoom = v; }
    bool AllowPanning() const { return m_allowPanning; }
    void SetAllowPanning(bool v) { m_allowPanning = v; }
    void SetMargins(int Left, int Top, int Right, int Bottom);
    // Background from the start colour at the top to the end colour at the
    // bottom; without a gradient the control's colour.
    bool GradientVisible() const { return m_gradient; }
    void SetGradient(bool Visible, TColor Start, TColor End);

    // Draws the whole chart into a canvas of the control's size.
    void PaintTo(TCanvas& c);
    // The chart keeps its design: scaled, it draws everything larger.
    void ScaleBy(int M, int D) override;
    bool OwnPaint() const override { return true; }
    void PaintWidget(QPainter& p) override;

private:
    void SeriesAnhaengen(std::unique_ptr<TChartSeries> s);
    std::vector<std::unique_ptr<TChartSeries>> m_series;
    TChartTitle m_title;
    TChartLegend m_legend;
    TChartAxis m_bottomAxis, m_leftAxis;
    bool m_view3D = true, m_frameVisible = true, m_allowZoom = true, m_allowPanning = true;
    int m_margins[4] = {3, 4, 3, 4};
    bool m_gradient = false;
    TColor m_gradStart = clWhite, m_gradEnd = clWhite;
    TScaleRatio m_scale;
};
