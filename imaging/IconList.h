#pragma once
// A list of icons that can be streamed, with a change notification. Entries
// may be empty (nullptr).
//
// Stream form: a 32-bit count, then per entry a 32-bit byte size and that
// many bytes of icon file (size 0 for an empty entry).
#include "imaging/ImagingErrors.h"
#include "platform/Icon.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class TPropertyReader;
class TPropertyWriter;

class TIconList {
public:
    TIconList();
    ~TIconList();
    TIconList(const TIconList&) = delete;
    TIconList& operator=(const TIconList&) = delete;

    // nullptr for an empty entry or an index outside the list.
    TIcon* Get(int index) const;
    int GetCount() const { return int(m_icons.size()); }
    // Assigns into the entry (an empty one gets an icon); index = count appends.
    void Put(int index, const TIcon* icon);
    // Appends a copy (nullptr: an empty entry); answers its index.
    int Add(const TIcon* icon);
    // Appends the program's icon resource of that name (":/name"); false when
    // there is none.
    bool AddResource(const QString& name);
    void Clear();
    void Delete(int index);
    void Exchange(int index1, int index2);
    int IndexOf(const TIcon* icon) const;
    void Insert(int index, const TIcon* icon);
    bool InsertResource(int index, const QString& name);
    void Move(int curIndex, int newIndex);

    // Replaces the list by the stream's icons. Raises EReadError for a count
    // or size beyond the bytes present or an entry that is no icon; the list
    // then stays as it was.
    void LoadFromStream(const QByteArray& data);
    QByteArray SaveToStream() const;

    // A list of the other's icons; nullptr clears.
    void Assign(const TIconList* source);
    // A list of this one icon.
    void Assign(const TIcon& icon);

    // The "Icons" property of a form: stored when the list is not empty and,
    // on a form with an ancestor, differs from the ancestor's list.
    bool StoresIcons(const TIconList* ancestor) const;
    // Writes the "Icons" property (the stream form above) when it is stored.
    void DefineProperties(TPropertyWriter& writer, const TIconList* ancestor) const;
    // Takes the "Icons" property when the form holds it; without it the list
    // keeps what it has (the ancestor's icons). Raises EReadError for damaged
    // icon data and leaves the list as it was.
    void ReadProperties(const TPropertyReader& reader);

    void BeginUpdate() { ++m_updates; }
    // The outermost end of an update raises OnChange once.
    void EndUpdate();
    std::function<void()> OnChange;

private:
    void Changed();
    void Watch(TIcon* icon);
    std::vector<std::unique_ptr<TIcon>> m_icons;
    int m_updates = 0;
};
