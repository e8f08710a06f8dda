#pragma once
// The edge between Qt's event loop and the program: the platform runs every
// event handler, posted message and timer of the program through RunHandler.
// An exception that leaves the program's code there is reported by the
// application object (TApplication::HandleException shows its message) and
// goes no further: the event loop goes on. It never unwinds through Qt, whose
// widgets are not built for exceptions, and never ends the program.
#include <utility>

class QWidget;

// Reports the exception being handled; only inside a catch block.
void ReportHandlerException() noexcept;
// The same for a paint of Widget: the box shows after the paint (none can
// open inside one), and not again while the widget's paints keep failing,
// each repaint as the box goes away would fail anew.
void ReportPaintException(QWidget* Widget) noexcept;
void PaintSucceeded(QWidget* Widget) noexcept;

template <class F> void RunHandler(F&& Handler) noexcept {
    try {
        std::forward<F>(Handler)();
    } catch (...) {
        ReportHandlerException();
    }
}

// A paint of Widget.
template <class F> void RunPaintHandler(QWidget* Widget, F&& Paint) noexcept {
    try {
        std::forward<F>(Paint)();
        PaintSucceeded(Widget);
    } catch (...) {
        ReportPaintException(Widget);
    }
}

// The same for a handler with a result: IfThrown when it throws.
template <class R, class F> R RunHandler(R IfThrown, F&& Handler) noexcept {
    try {
        return std::forward<F>(Handler)();
    } catch (...) {
        ReportHandlerException();
        return IfThrown;
    }
}
