#include "platform/ControlsCom.h"

void TStrings::Changed() {
    if (m_updating == 0 && OnChange) OnChange();
}

void TStrings::EndUpdate() {
    if (m_updating > 0 && --m_updating == 0) Changed();
}

void TStrings::SetStrings(int i, const QString& s) {
    if (i < 0 || i >= Count()) return;
    m_items[i] = s;
    Changed();
}

int TStrings::Add(const QString& s) {
    m_items.append(s);
    Changed();
    return Count() - 1;
}

void TStrings::Insert(int i, const QString& s) {
    if (i < 0 || i > Count()) return;
    m_items.insert(i, s);
    Changed();
}

void TStrings::Delete(int i) {
    if (i < 0 || i >= Count()) return;
    m_items.removeAt(i);
    Changed();
}

void TStrings::Clear() {
    if (m_items.isEmpty()) return;
    m_items.clear();
    Changed();
}

int TStrings::IndexOf(const QString& s) const {
    for (int i = 0; i < Count(); ++i)
        if (m_items[i].compare(s, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QString TStrings::Text() const {
    QString t;
    for (const QString& s : m_items)
        t += s + QStringLiteral("\r\n");
    return t;
}

void TStrings::SetText(const QString& text) {
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = t.split(QLatin1Char('\n'));
    // A closing line break ends the last line rather than starting a new one.
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    m_items = lines;
    Changed();
}

void TStrings::Assign(const TStrings& other) {
    m_items = other.m_items;
    Changed();
}
