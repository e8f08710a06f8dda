#pragma once
// Makes the exercise forms of chapter 3 known to the shell's exercise registry;
// the program calls it once at start.
void RegisterChapter3Exercises();
