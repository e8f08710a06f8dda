#include "Fahrer.h"

#include "platform/Application.h"
#include "platform/Forms.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QRegularExpression>
#include <QScreen>
#include <QSet>
#include <QTabBar>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace {

QString OhneKuerzel(QString Text) {
    return Text.remove(QLatin1Char('&')).trimmed();
}

QString Zahl(int n) {
    return QString::number(n);
}

// What a pupil reads in a dialog, and its buttons.
void Lesen(QWidget* Dialog, TDialogBild& Bild) {
    Bild.Titel = Dialog->windowTitle();
    Bild.Texte << Bild.Titel;
    for (QWidget* k : Dialog->findChildren<QWidget*>()) {
        if (!k->isVisibleTo(Dialog)) continue;
        Bild.Texte << k->toolTip();
        if (auto* b = qobject_cast<QAbstractButton*>(k)) {
            Bild.Texte << OhneKuerzel(b->text());
            if (!b->text().isEmpty()) Bild.Knoepfe << OhneKuerzel(b->text());
        } else if (auto* l = qobject_cast<QLabel*>(k)) {
            Bild.Texte << OhneKuerzel(l->text());
        } else if (auto* g = qobject_cast<QGroupBox*>(k)) {
            Bild.Texte << OhneKuerzel(g->title());
        } else if (auto* t = qobject_cast<QTabBar*>(k)) {
            for (int i = 0; i < t->count(); ++i)
                Bild.Texte << OhneKuerzel(t->tabText(i));
        } else if (auto* h = qobject_cast<QHeaderView*>(k)) {
            for (int i = 0; h->model() && i < h->count(); ++i)
                if (!h->isSectionHidden(i))
                    Bild.Texte << h->model()->headerData(i, h->orientation()).toString();
        } else if (auto* c = qobject_cast<QComboBox*>(k)) {
            // The chosen printer and the file types; the folder box names folders.
            if (c->objectName() != QLatin1String("lookInCombo"))
                for (int i = 0; i < c->count(); ++i)
                    Bild.Texte << c->itemText(i);
        }
    }
    Bild.Texte.removeAll(QString());
}

} // namespace

void Posten(std::function<void()> f) {
    QMetaObject::invokeMethod(qApp, std::move(f), Qt::QueuedConnection);
}

bool Warten(const std::function<bool()>& Bedingung, double Sekunden) {
    const auto Ende = std::chrono::steady_clock::now() + std::chrono::milliseconds(int(Sekunden * 1000));
    for (;;) {
        if (Bedingung()) return true;
        if (std::chrono::steady_clock::now() > Ende) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

FensterId FormFenster(TForm* Form) {
    return ImProgramm([Form]() -> FensterId {
        QWidget* w = Form ? Form->Widget() : nullptr;
        return w && w->isVisible() ? FensterId(w->winId()) : 0;
    });
}

TDialogBild DialogAbwarten(const QString& Art, double Sekunden) {
    TDialogBild Bild;
    Warten(
        [&] {
            Bild = ImProgramm([&Art] {
                TDialogBild b;
                QWidget* w = QApplication::activeModalWidget();
                if (!w || !w->isVisible() || !w->inherits(Art.toLatin1().constData())) return b;
                b.Fenster = w->winId();
                b.Art = Art;
                Lesen(w, b);
                return b;
            });
            return Bild.Fenster != 0;
        },
        Sekunden);
    return Bild;
}

QPoint DialogKnopf(const QString& Caption) {
    return ImProgramm([&Caption] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w) return QPoint();
        for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
            if (b->isVisibleTo(w) && OhneKuerzel(b->text()) == Caption)
                return b->mapToGlobal(b->rect().center());
        return QPoint();
    });
}

QPoint MitteVon(TControl* Control) {
    return ImProgramm([Control] {
        QWidget* w = Control->Widget();
        return w->mapToGlobal(w->rect().center());
    });
}

namespace {

// Moves the pointer to Punkt, waits until it is there and clicks as told.
void KlickenDort(QPoint Punkt, const QStringList& Klicks) {
    // A pixel beside it first: waiting for a move to where the pointer stands
    // already would wait for nothing until xdotool gives up.
    Ausfuehren(
        {QStringLiteral("xdotool"), QStringLiteral("mousemove"), Zahl(Punkt.x() + 1), Zahl(Punkt.y())});
    Ausfuehren(QStringList{QStringLiteral("xdotool"), QStringLiteral("mousemove"), QStringLiteral("--sync"),
                           Zahl(Punkt.x()), Zahl(Punkt.y()), QStringLiteral("click")} +
               Klicks);
}

} // namespace

void KlickBei(QPoint Punkt) {
    KlickenDort(Punkt, {QStringLiteral("1")});
}

void Klick(TControl* Control) {
    KlickBei(MitteVon(Control));
}

void KlickSerie(TControl* Control, int Anzahl, int Pause) {
    KlickenDort(MitteVon(Control), {QStringLiteral("--repeat"), Zahl(Anzahl), QStringLiteral("--delay"),
                                    Zahl(Pause), QStringLiteral("1")});
}

void Taste(const QString& Name) {
    Ausfuehren({QStringLiteral("xdotool"), QStringLiteral("key"), Name});
}

namespace {

// Notes, once, whether the next Return reaches a popup list or another
// widget; then leaves the application's event filters.
class TReturnZeuge : public QObject {
public:
    enum { Offen, Liste, Fenster };
    explicit TReturnZeuge(std::shared_ptr<std::atomic<int>> Ziel) : QObject(qApp), m_ziel(std::move(Ziel)) {}

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        // The key goes to the window first, then to the widget that takes it.
        auto* w = qobject_cast<QWidget*>(o);
        if (*m_ziel == Offen && w && e->type() == QEvent::KeyPress) {
            const int k = static_cast<QKeyEvent*>(e)->key();
            if (k == Qt::Key_Return || k == Qt::Key_Enter) {
                *m_ziel = w->window()->windowType() == Qt::Popup ? Liste : Fenster;
                qApp->removeEventFilter(this);
                deleteLater();
            }
        }
        return false;
    }

private:
    std::shared_ptr<std::atomic<int>> m_ziel;
};

} // namespace

void Bestaetigen() {
    for (int Versuch = 0; Versuch < 5; ++Versuch) {
        auto Ziel = std::make_shared<std::atomic<int>>(TReturnZeuge::Offen);
        ImProgramm([Ziel] { qApp->installEventFilter(new TReturnZeuge(Ziel)); });
        Taste(QStringLiteral("Return"));
        // What Return opens (a question) may keep the program's thread: the
        // note is read here.
        if (!Warten([&] { return *Ziel != TReturnZeuge::Offen; }) || *Ziel == TReturnZeuge::Fenster) return;
        Warten([] { return ImProgramm([] { return QApplication::activePopupWidget() == nullptr; }); });
    }
}

void TastenSchnell(const QStringList& Namen) {
    Ausfuehren(QStringList{QStringLiteral("xdotool"), QStringLiteral("key"), QStringLiteral("--delay"),
                           QStringLiteral("0")} +
               Namen);
}

void Tippen(const QString& Text) {
    Ausfuehren({QStringLiteral("xdotool"), QStringLiteral("type"), QStringLiteral("--delay"),
                QStringLiteral("30"), Text});
}

void Aktivieren(FensterId Fenster) {
    Ausfuehren({QStringLiteral("xdotool"), QStringLiteral("windowactivate"), Zahl(int(Fenster))});
}

void Verarbeitet() {
    // xdotool has ended, so the server holds its input; a round trip of the
    // program's own brings everything before it into the program's queue.
    ImProgramm([] { QGuiApplication::sync(); });
}

void Bildschirmfoto(const QString& Name) {
    const QString Ordner = QStringLiteral(PRAVOLIN_TEST_OUTPUT "/bildschirm");
    ImProgramm([&] {
        QDir().mkpath(Ordner);
        if (QScreen* s = QGuiApplication::primaryScreen())
            s->grabWindow(0).save(Ordner + QLatin1Char('/') + Name + QStringLiteral(".png"));
    });
}

QStringList EnglischeWoerter(const QStringList& Texte) {
    // Words of Qt's own dialogs in English that have a German word of their own.
    static const QSet<QString> Englisch = {
        "save",     "open",       "cancel",   "print",       "printer",  "properties", "options", "copies",
        "file",     "files",      "yes",      "no",          "look",     "type",       "types",   "size",
        "date",     "modified",   "location", "output",      "close",    "apply",      "help",    "abort",
        "retry",    "ignore",     "back",     "forward",     "parent",   "directory",  "folder",  "create",
        "new",      "view",       "list",     "preview",     "page",     "pages",      "collate", "reverse",
        "color",    "grayscale",  "duplex",   "long",        "short",    "side",       "all",     "range",
        "current",  "selection",  "settings", "orientation", "portrait", "landscape",  "margins", "paper",
        "source",   "job",        "advanced", "local",       "write",    "recent",     "places",  "show",
        "hidden",   "rename",     "delete",   "drive",       "of",       "the",        "to",      "as",
        "richtext", "are",        "want",     "replace",     "already",  "exists",     "warning", "error",
        "question", "information"};
    static const QRegularExpression Wort(QStringLiteral("\\p{L}+"));
    QStringList Gefunden;
    // The log book's file type is named by the program itself, after the format.
    static const QString Dateityp = QStringLiteral("RichText Format Files (*.rtf)");
    for (const QString& t : Texte)
        for (auto it = Wort.globalMatch(t); t != Dateityp && it.hasNext();) {
            const QString w = it.next().captured();
            if (Englisch.contains(w.toLower())) Gefunden << w + QStringLiteral(" (") + t + QLatin1Char(')');
        }
    return Gefunden;
}

void ImVordergrund(FensterId Fenster, FensterId Eigner, const QString& Was) {
    SCOPED_TRACE(Was.toStdString());
    ASSERT_NE(Fenster, 0u);
    ASSERT_NE(Eigner, 0u);
    const bool Vorn = Warten([&] {
        const std::vector<FensterId> s = Stapel();
        return AktivesFenster() == Fenster && Besitzer(Fenster) == Eigner && !s.empty() &&
               s.back() == Fenster;
    });
    EXPECT_TRUE(Vorn);
    EXPECT_EQ(AktivesFenster(), Fenster);
    EXPECT_EQ(AktivesFensterLautXdotool(), Fenster);
    EXPECT_EQ(Besitzer(Fenster), Eigner);
    EXPECT_TRUE(Ueber(Fenster, Eigner));
    const std::vector<FensterId> s = Stapel();
    EXPECT_TRUE(!s.empty() && s.back() == Fenster);
    EXPECT_TRUE(IstModal(Fenster));
}

void EignerGesperrt(FensterId Fenster, FensterId Eigner, const QString& Was) {
    SCOPED_TRACE(Was.toStdString());
    Aktivieren(Eigner);
    // The window manager hands the focus on to the modal window at once; the
    // owner must not have it at any moment while we watch.
    bool EignerAktiv = false;
    Warten(
        [&] {
            EignerAktiv = EignerAktiv || AktivesFenster() == Eigner;
            return false;
        },
        1.5);
    EXPECT_FALSE(EignerAktiv);
    EXPECT_EQ(AktivesFenster(), Fenster);
    EXPECT_TRUE(Ueber(Fenster, Eigner));
    // The program too keeps the focus in the modal window.
    EXPECT_TRUE(Warten([&] {
        return ImProgramm([&] {
            QWindow* f = QGuiApplication::focusWindow();
            return f && FensterId(f->winId()) == Fenster;
        });
    }));
}

void Programmlauf(const std::function<void()>& Ablauf) {
    std::atomic<bool> Fertig = false;
    // A program left running by a failed check is ended: its standard dialogs
    // cancelled, again and again, since a handler may open the next one, and
    // its modal forms closed by the end of the run.
    QTimer Notaus;
    Notaus.setInterval(100);
    QObject::connect(&Notaus, &QTimer::timeout, [&Fertig] {
        if (!Fertig) return;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible() && !dynamic_cast<TWidgetLink*>(w))
                d->reject();
        Application()->Terminate();
    });
    Notaus.start();
    std::thread Fahrer([&] {
        Ablauf();
        Fertig = true;
    });
    Application()->ResetTerminated();
    Application()->Run();
    while (!Fertig)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    Fahrer.join();
    Notaus.stop();
    // The next run starts with the main window's first showing.
    if (TForm* Haupt = Application()->MainForm()) Haupt->Hide();
    QCoreApplication::processEvents();
    Application()->ResetTerminated();
}
