#pragma once
// A folder of its own for a stand-in of a helper program, kept until the
// test program ends. A run that was handed the stand-in's path (on a thread
// of the picture store, say) may start it only after the stand-in is gone,
// later the busier the machine: the stand-in's files must still be there.
#include <QString>

// A new empty folder; its path.
QString StandInFolder();
