#include "imaging/IconList.h"

#include "platform/LittleEndian.h"
#include "platform/PropertyStream.h"

#include <algorithm>

namespace {

std::unique_ptr<TIcon> CopyOf(const TIcon* icon) {
    if (!icon) return nullptr;
    auto copy = std::make_unique<TIcon>();
    copy->Assign(*icon);
    return copy;
}

std::unique_ptr<TIcon> FromResource(const QString& name) {
    auto icon = std::make_unique<TIcon>();
    if (!icon->LoadFromFile(QStringLiteral(":/") + name)) return nullptr;
    return icon;
}

} // namespace

TIconList::TIconList() = default;

TIconList::~TIconList() {
    // The icons go with the list; they must not call back into it.
    for (auto& icon : m_icons)
        if (icon) icon->OnChange = nullptr;
}

void TIconList::Changed() {
    if (m_updates == 0 && OnChange) OnChange();
}

void TIconList::EndUpdate() {
    if (m_updates == 0) return;
    if (--m_updates == 0) Changed();
}

void TIconList::Watch(TIcon* icon) {
    if (icon) icon->OnChange = [this] { Changed(); };
}

TIcon* TIconList::Get(int index) const {
    return index >= 0 && index < GetCount() ? m_icons[size_t(index)].get() : nullptr;
}

void TIconList::Put(int index, const TIcon* icon) {
    if (index == GetCount()) {
        Add(icon);
        return;
    }
    if (index < 0 || index > GetCount()) return;
    auto& entry = m_icons[size_t(index)];
    if (!entry) {
        entry = std::make_unique<TIcon>();
        Watch(entry.get());
    }
    if (icon)
        entry->Assign(*icon); // raises the change through the icon
    else
        entry->SetImage(QImage());
}

int TIconList::Add(const TIcon* icon) {
    Insert(GetCount(), icon);
    return GetCount() - 1;
}

bool TIconList::AddResource(const QString& name) {
    return InsertResource(GetCount(), name);
}

void TIconList::Clear() {
    if (m_icons.empty()) return;
    m_icons.clear();
    Changed();
}

void TIconList::Delete(int index) {
    if (index < 0 || index >= GetCount()) return;
    m_icons.erase(m_icons.begin() + index);
    Changed();
}

void TIconList::Exchange(int index1, int index2) {
    if (index1 < 0 || index2 < 0 || index1 >= GetCount() || index2 >= GetCount()) return;
    std::swap(m_icons[size_t(index1)], m_icons[size_t(index2)]);
    Changed();
}

int TIconList::IndexOf(const TIcon* icon) const {
    for (int i = 0; i < GetCount(); ++i)
        if (m_icons[size_t(i)].get() == icon) return i;
    return -1;
}

void TIconList::Insert(int index, const TIcon* icon) {
    if (index < 0 || index > GetCount()) return;
    std::unique_ptr<TIcon> copy = CopyOf(icon);
    Watch(copy.get());
    m_icons.insert(m_icons.begin() + index, std::move(copy));
    Changed();
}

bool TIconList::InsertResource(int index, const QString& name) {
    if (index < 0 || index > GetCount()) return false;
    std::unique_ptr<TIcon> icon = FromResource(name);
    if (!icon) return false;
    Watch(icon.get());
    m_icons.insert(m_icons.begin() + index, std::move(icon));
    Changed();
    return true;
}

void TIconList::Move(int curIndex, int newIndex) {
    if (curIndex == newIndex || curIndex < 0 || newIndex < 0 || curIndex >= GetCount() ||
        newIndex >= GetCount())
        return;
    std::unique_ptr<TIcon> icon = std::move(m_icons[size_t(curIndex)]);
    m_icons.erase(m_icons.begin() + curIndex);
    m_icons.insert(m_icons.begin() + newIndex, std::move(icon));
    Changed();
}

void TIconList::LoadFromStream(const QByteArray& data) {
    if (data.size() < 4) throw EReadError();
    const uint32_t count = ReadLe32(data, 0);
    // Every entry takes at least its size field.
    if (count > uint64_t(data.size() - 4) / 4) throw EReadError();
    std::vector<std::unique_ptr<TIcon>> read;
    qsizetype pos = 4;
    for (uint32_t i = 0; i < count; ++i) {
        if (data.size() - pos < 4) throw EReadError();
        const uint32_t size = ReadLe32(data, pos);
        pos += 4;
        if (size > uint64_t(data.size() - pos)) throw EReadError();
        if (size < 1) {
            read.push_back(nullptr);
            continue;
        }
        auto icon = std::make_unique<TIcon>();
        if (!icon->LoadFromStream(data.mid(pos, qsizetype(size)))) throw EReadError();
        read.push_back(std::move(icon));
        pos += qsizetype(size);
    }
    BeginUpdate();
    m_icons = std::move(read);
    for (auto& icon : m_icons)
        Watch(icon.get());
    EndUpdate();
}

QByteArray TIconList::SaveToStream() const {
    QByteArray out;
    AppendLe32(out, uint32_t(m_icons.size()));
    for (const auto& icon : m_icons) {
        const QByteArray bytes = icon ? icon->SaveToStream() : QByteArray();
        AppendLe32(out, uint32_t(bytes.size()));
        out.append(bytes);
    }
    return out;
}

void TIconList::Assign(const TIconList* source) {
    if (source == this) return;
    BeginUpdate();
    m_icons.clear();
    if (source)
        for (const auto& icon : source->m_icons) {
            m_icons.push_back(CopyOf(icon.get()));
            Watch(m_icons.back().get());
        }
    EndUpdate();
}

void TIconList::Assign(const TIcon& icon) {
    BeginUpdate();
    m_icons.clear();
    Add(&icon);
    EndUpdate();
}

bool TIconList::StoresIcons(const TIconList* ancestor) const {
    if (m_icons.empty()) return false;
    if (!ancestor) return true;
    if (ancestor->GetCount() != GetCount()) return true;
    for (int i = 0; i < GetCount(); ++i)
        if (ancestor->Get(i) != Get(i)) return true;
    return false;
}

void TIconList::DefineProperties(TPropertyWriter& writer, const TIconList* ancestor) const {
    if (StoresIcons(ancestor)) writer.DefineBinaryProperty(QStringLiteral("Icons"), SaveToStream());
}

void TIconList::ReadProperties(const TPropertyReader& reader) {
    if (const QByteArray* icons = reader.Binary(QStringLiteral("Icons"))) LoadFromStream(*icons);
}
