#pragma once
// A stand-in for the metafile helper that holds every run until the test
// releases it and then hands it on to the helper it stands in for. What the
// program must not wait for (a screen painting pictures that still convert
// or render) stays unfinished for as long as the test looks, on a fast
// machine and on a loaded one alike.
//
//   THeldMetafileHelper held;
//   ... paint for the screen: frames in the pictures' places ...
//   EXPECT_FALSE(held.HeldTooLong());
//   held.Release(); // the helper does the work now
#include <QDir>
#include <QString>

class THeldMetafileHelper {
public:
    // Hands the runs on to the helper in place now (the real one, or another
    // stand-in).
    THeldMetafileHelper();
    // Releases what is held and puts that helper back.
    ~THeldMetafileHelper();
    THeldMetafileHelper(const THeldMetafileHelper&) = delete;
    THeldMetafileHelper& operator=(const THeldMetafileHelper&) = delete;

    // Lets the held runs and all later ones go on to that helper.
    void Release();
    // True when a run was held for a minute without being released: the
    // program waited for it.
    bool HeldTooLong() const;

private:
    // The stand-in's script, its gate and its note of a run held too long;
    // kept after the stand-in is gone, for runs that start late.
    QDir m_dir;
    QString m_previous;
    int m_previousWallMs = 0;
};
