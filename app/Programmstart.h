#pragma once
// What the program does at start before its message loop runs: fonts,
// picture formats, German Qt dialogs, the forms of the whole run and the
// exercise forms. The test of the program on a real desktop starts it the same way.

// Before the QApplication exists.
void ProgrammUmgebungVorbereiten();
// Once the QApplication exists; Application()->Run() then runs the program.
void ProgrammVorbereiten();
