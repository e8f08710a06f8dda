#include "platform/Chart.h"

#include "platform/ControlsCom.h"
#include "platform/TextMetrics.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// Values that cannot be a share of a pie count as nothing.
double Anteilswert(double v) {
    return std::isfinite(v) && v > 0 ? v : 0.0;
}

QString ProzentText(double p) {
    QString s = QString::number(std::round(p * 100.0) / 100.0, 'f', 2);
    while (s.endsWith(QLatin1Char('0')))
        s.chop(1);
    if (s.endsWith(QLatin1Char('.'))) s.chop(1);
    s.replace(QLatin1Char('.'), QLatin1Char(','));
    return s + QStringLiteral(" %");
}

} // namespace

// ---- TSeriesMarks -------------------------------------------------------------------

TSeriesMarks::TSeriesMarks() {
    m_font.SetName(QStringLiteral("Arial"));
    m_font.SetHeight(-11);
}

void TSeriesMarks::Changed() {
    if (m_series) m_series->Changed();
}

void TSeriesMarks::SetStyle(TSeriesMarksStyle s) {
    m_style = s;
    Changed();
}

void TSeriesMarks::SetVisible(bool v) {
    m_visible = v;
    Changed();
}

void TSeriesMarks::SetBackColor(TColor c) {
    m_backColor = c;
    Changed();
}

void TSeriesMarks::SetFrame(bool f) {
    m_frame = f;
    Changed();
}

void TSeriesMarks::SetArrowLength(int n) {
    m_arrowLength = n;
    Changed();
}

// ---- TChartSeries -------------------------------------------------------------------

TChartSeries::TChartSeries() {
    m_marks.m_series = this;
}

void TChartSeries::Changed() {
    if (m_chart) m_chart->Invalidate();
}

void TChartSeries::Clear() {
    m_points.clear();
    Changed();
}

int TChartSeries::Add(double Value, const QString& Label, TColor Color) {
    m_points.push_back({Value, Label, Color});
    Changed();
    return Count() - 1;
}

double TChartSeries::Value(int i) const {
    return i >= 0 && i < Count() ? m_points[i].Value : 0.0;
}

QString TChartSeries::Label(int i) const {
    return i >= 0 && i < Count() ? m_points[i].Label : QString();
}

TColor TChartSeries::ValueColor(int i) const {
    return i >= 0 && i < Count() ? m_points[i].Color : clNone;
}

double TChartSeries::Percent(int i) const {
    double Summe = 0;
    for (const TPunkt& p : m_points)
        Summe += Anteilswert(p.Value);
    if (Summe <= 0) return 0.0;
    return Anteilswert(Value(i)) * 100.0 / Summe;
}

QString TChartSeries::MarkText(int i) const {
    switch (m_marks.Style()) {
    case smsValue:
        return QString::number(Value(i), 'g', 15);
    case smsPercent:
        return ProzentText(Percent(i));
    case smsLabelPercent:
        return Label(i) + QLatin1Char(' ') + ProzentText(Percent(i));
    case smsLabel:
    case smsLegend:
        break;
    }
    return Label(i);
}

void TChartSeries::SetShowInLegend(bool s) {
    m_showInLegend = s;
    Changed();
}

// ---- TPieSeries ---------------------------------------------------------------------

void TPieSeries::SetCircled(bool c) {
    m_circled = c;
    Changed();
}

void TPieSeries::SetCustomXRadius(int r) {
    m_xRadius = r;
    Changed();
}

void TPieSeries::SetCustomYRadius(int r) {
    m_yRadius = r;
    Changed();
}

void TPieSeries::SetDark3D(bool d) {
    m_dark3D = d;
    Changed();
}

double TPieSeries::StartAngle(int i) const {
    double a = 90.0;
    for (int k = 0; k < i && k < Count(); ++k)
        a += SweepAngle(k);
    return a;
}

double TPieSeries::SweepAngle(int i) const {
    return Percent(i) * 3.6;
}

// ---- TChart -------------------------------------------------------------------------

TChart::TChart(TComponent* AOwner) : TControl(AOwner) {
    auto* w = new THooked<QWidget>(this);
    TControl::Attach(w, w);
    m_width = 400;
    m_height = 250;
    m_title.Font.SetName(QStringLiteral("Arial"));
    m_title.Font.SetHeight(-11);
    m_title.Font.SetColor(clBlue);
    m_legend.Font.SetName(QStringLiteral("Arial"));
    m_legend.Font.SetHeight(-11);
    SetColor(clBtnFace);
}

TChart::~TChart() = default;

TChartSeries* TChart::Series(int i) const {
    return i >= 0 && i < SeriesCount() ? m_series[i].get() : nullptr;
}

void TChart::SeriesAnhaengen(std::unique_ptr<TChartSeries> s) {
    s->m_chart = this;
    m_series.push_back(std::move(s));
    Invalidate();
}

std::vector<TLegendEintrag> TChart::LegendEintraege() const {
    std::vector<TLegendEintrag> e;
    for (const auto& s : m_series)
        if (s->ShowInLegend())
            for (int i = 0; i < s->Count(); ++i)
                e.push_back({s->Label(i), s->ValueColor(i)});
    return e;
}

void TChart::SetView3D(bool v) {
    m_view3D = v;
    Invalidate();
}

void TChart::SetFrameVisible(bool v) {
    m_frameVisible = v;
    Invalidate();
}

void TChart::SetMargins(int Left, int Top, int Right, int Bottom) {
    m_margins[0] = Left;
    m_margins[1] = Top;
    m_margins[2] = Right;
    m_margins[3] = Bottom;
    Invalidate();
}

void TChart::SetGradient(bool Visible, TColor Start, TColor End) {
    m_gradient = Visible;
    m_gradStart = Start;
    m_gradEnd = End;
    Invalidate();
}

void TChart::PaintWidget(QPainter& p) {
    TCanvas c(&p);
    PaintTo(c);
}

void TChart::ScaleBy(int M, int D) {
    if (D == 0) return;
    TControl::ScaleBy(M, D);
    m_scale.By(M, D);
}

void TChart::PaintTo(TCanvas& c) {
    const int W = Width(), H = Height();
    // In a scaled window the whole chart grows with the control: its fonts,
    // margins, radii, boxes and lines, all given for the design size.
    const auto S = [this](int v) { return m_scale.Of(v); };
    const auto Schrift = [this](const TFont& f, const QStringList& Texte) {
        if (!m_scale.Scaled()) return f;
        TFont g(f);
        g.ScaleBy(m_scale.M, m_scale.D);
        return ScaledTextFont(g, Texte);
    };
    // Background.
    if (m_gradient) {
        if (QPainter* p = c.Painter()) {
            QLinearGradient g(0, 0, 0, std::max(0, H - 1));
            g.setColorAt(0, ToQColor(ColorToRGB(m_gradStart)));
            g.setColorAt(1, ToQColor(ColorToRGB(m_gradEnd)));
            p->fillRect(0, 0, W, H, g);
        }
    } else {
        c.Brush()->SetColor(Color());
        c.FillRect(Rect(0, 0, W, H));
    }
    int Oben = S(m_margins[1]), Unten = H - S(m_margins[3]);
    const int Links = S(m_margins[0]), Rechts = W - S(m_margins[2]);
    const int Linie = std::max(1, S(1));
    if (m_frameVisible) {
        c.Pen()->SetColor(clBlack);
        c.Pen()->SetWidth(Linie);
        c.Brush()->SetStyle(bsClear);
        c.Rectangle(Links, Oben, Rechts, Unten);
    }
    // Title centred at the top.
    c.Brush()->SetStyle(bsClear);
    if (m_title.Visible && !m_title.Text.isEmpty()) {
        c.SetFont(Schrift(m_title.Font, {m_title.Text}));
        const TSize s = c.TextExtent(m_title.Text);
        c.TextOut((Links + Rechts - s.cx) / 2, Oben + S(2), m_title.Text);
        Oben += s.cy + S(4);
    }
    // Legend at the bottom: one row of colour boxes with their texts, centred.
    const std::vector<TLegendEintrag> Eintraege = LegendEintraege();
    if (m_legend.Visible && !Eintraege.empty() && m_legend.Alignment == laBottom) {
        QStringList Texte;
        for (const TLegendEintrag& e : Eintraege)
            Texte << e.Text;
        c.SetFont(Schrift(m_legend.Font, Texte));
        const int h = c.TextHeight(QStringLiteral("Ag"));
        const int Kasten = S(m_legend.ColorWidth), Abstand = S(6), Luecke = S(16);
        int Gesamt = 0;
        for (const TLegendEintrag& e : Eintraege)
            Gesamt += Kasten + Abstand + c.TextWidth(e.Text) + Luecke;
        int x = std::max(Links, (Links + Rechts - Gesamt) / 2);
        const int y = Unten - S(m_legend.VertMargin) - h;
        for (const TLegendEintrag& e : Eintraege) {
            c.Pen()->SetColor(clBlack);
            c.Pen()->SetWidth(Linie);
            c.Brush()->SetColor(e.Color);
            c.Rectangle(x, y + h / 4, x + Kasten, y + h - h / 4);
            x += Kasten + Abstand;
            c.Brush()->SetStyle(bsClear);
            c.TextOut(x, y, e.Text);
            x += c.TextWidth(e.Text) + Luecke;
        }
        Unten = y - S(m_legend.VertMargin);
    }
    // The pies, in the middle of what is left.
    const int mx = (Links + Rechts) / 2, my = (Oben + Unten) / 2;
    for (const auto& s : m_series) {
        auto* pie = dynamic_cast<TPieSeries*>(s.get());
        if (!pie) continue;
        int rx = pie->CustomXRadius() > 0 ? S(pie->CustomXRadius()) : std::max(1, (Rechts - Links) / 3);
        int ry = pie->CustomYRadius() > 0 ? S(pie->CustomYRadius()) : std::max(1, (Unten - Oben) / 3);
        if (pie->Circled()) rx = ry = std::min(rx, ry);
        const double Pi = std::acos(-1.0);
        const auto Punkt = [&](double Grad, double fx, double fy) {
            const double r = Grad * Pi / 180.0;
            return TPoint{mx + static_cast<int>(std::lround(std::cos(r) * fx)),
                          my - static_cast<int>(std::lround(std::sin(r) * fy))};
        };
        c.Pen()->SetColor(clBlack);
        c.Pen()->SetWidth(Linie);
        for (int i = 0; i < pie->Count(); ++i) {
            const double Sweep = pie->SweepAngle(i);
            if (Sweep <= 0) continue;
            c.Brush()->SetColor(pie->ValueColor(i));
            if (Sweep >= 359.999) {
                c.Ellipse(mx - rx, my - ry, mx + rx, my + ry);
                continue;
            }
            const double a = pie->StartAngle(i);
            const TPoint p1 = Punkt(a, rx * 2.0, ry * 2.0), p2 = Punkt(a + Sweep, rx * 2.0, ry * 2.0);
            c.Pie(mx - rx, my - ry, mx + rx, my + ry, p1.x, p1.y, p2.x, p2.y);
        }
        if (!pie->Marks()->Visible()) continue;
        TSeriesMarks* m = pie->Marks();
        QStringList Texte;
        for (int i = 0; i < pie->Count(); ++i)
            Texte << pie->MarkText(i);
        c.SetFont(Schrift(*m->Font(), Texte));
        for (int i = 0; i < pie->Count(); ++i) {
            const double Sweep = pie->SweepAngle(i);
            if (Sweep <= 0) continue;
            const double Mitte = pie->StartAngle(i) + Sweep / 2;
            const int Abstand = S(std::max(0, m->ArrowLength()));
            const TPoint Rand = Punkt(Mitte, rx, ry), Ende = Punkt(Mitte, rx + Abstand, ry + Abstand);
            c.Pen()->SetColor(clBlack);
            c.MoveTo(Rand.x, Rand.y);
            c.LineTo(Ende.x, Ende.y);
            const QString t = pie->MarkText(i);
            const TSize s = c.TextExtent(t);
            // The box lies on the side of the slice, away from the pie.
            const int Breite = s.cx + S(4), Hoehe = s.cy + S(2);
            const double cs = std::cos(Mitte * Pi / 180.0), sn = std::sin(Mitte * Pi / 180.0);
            int x = cs >= 0 ? Ende.x : Ende.x - Breite;
            int y = sn >= 0 ? Ende.y - Hoehe : Ende.y;
            if (std::fabs(cs) < 0.2) x = Ende.x - Breite / 2;
            const TRect Box = Rect(x, y, x + Breite, y + Hoehe);
            c.Brush()->SetColor(m->BackColor());
            if (m->Frame()) {
                c.Rectangle(Box);
            } else {
                c.FillRect(Box);
            }
            c.Brush()->SetStyle(bsClear);
            c.TextOut(x + S(2), y + S(1), t);
        }
    }
}
