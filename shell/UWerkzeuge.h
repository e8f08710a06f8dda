#pragma once
// The companion tools of the exercise forms: where they are installed, which
// buttons show, how they are started, and the drawing script they find on the
// clipboard when they start in script-import mode.
//
// A tool lies at <base>Orvandel - Mathematik\<Name>\<Name>.exe, the base being
// "..\..\" (beside this program's folder) or "c:\".
#include <QString>

constexpr int WerkzeugAnzahl = 27;

// The tools the exercise forms start, by their row in the table.
enum TWerkzeug : int {
    wzSkizzbrett = 1,     // drawing sheet
    wzKurvenwerk = 2,     // function plotter
    wzTaschenrechner = 3, // calculator
    wzRaumschau = 20,     // 3-D viewer
    wzTermlotse = 22,     // algebra help
    wzZufallslotse = 24,  // stochastics help
    wzBildkalk = 25,      // graphing calculator
    wzLichtstudio = 26,   // photo editor for the screenshots
    wzFindeling = 27,     // keyword search
};

// "\Name\Name.exe" of row 1 .. 27; "xxx" for any other index.
QString WerkzeugEintrag(int Index);
// The tool's path below a base folder ("..\..\" or "c:\").
QString WerkzeugPfadBilden(int Index, const QString& Basis);
// Whether the tool is installed below either base folder.
bool WerkzeugVorhanden(int Index);

// The script offered to the tools, one line each.
extern const char* const WerkzeugSkript[2];
