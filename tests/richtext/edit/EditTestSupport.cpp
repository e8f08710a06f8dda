#include "EditTestSupport.h"

#include "richtext/model/RPDrawLines.h"
#include "richtext/model/RPItem.h"
#include "richtext/model/RPMarkers.h"

#include <sstream>

#include "richtext/model/RPStyleInfos.h"
#include "richtext/model/RPUnicode.h"

std::unique_ptr<TRPStyle> MakeEditStyle() {
    auto s = std::make_unique<TRPStyle>();
    TFontInfos& t = s->TextStyles();
    t.Clear();
    const auto add = [&]() {
        TFontInfo* f = t.Add();
        f->FontName = "Arial";
        f->Size = 15;
        return f;
    };
    add();
    add()->Style = RPFontStyle::Bold;
    add()->Unicode = true;
    add()->Protection = rpprModifyProtect;
    add()->NextStyleNo = 1;
    TParaInfos& p = s->ParaStyles();
    p.Clear();
    p.Add();
    p.Add()->Alignment = rpaCenter;
    p.Add()->Options = rppaoReadOnly;
    p.Add()->LeftIndent = 20;
    p.Add()->Options = rppaoStyleProtect;
    s->UseSound = false;
    return s;
}

TEditFixture::TEditFixture(int Width, int Height) : Style(MakeEditStyle()), Form(std::make_unique<TForm>(nullptr)) {
    Form->SetBounds(0, 0, Width + 50, Height + 50);
    Edit = new TRichPadEdit(Form.get());
    Edit->SetParent(Form.get());
    Edit->SetBounds(0, 0, Width, Height);
    Edit->SetStyle(Style.get());
    Edit->Clear();
    Edit->Format();
}

TEditFixture::~TEditFixture() {
    delete Edit;
    Form.reset();
}

void TEditFixture::Load(const std::string& Text) {
    Edit->Clear();
    std::string line;
    std::istringstream in(Text);
    while (std::getline(in, line))
        Edit->AddText(line, 0, 0);
    if (Text.empty() || Text.back() == '\n') Edit->AddText("", 0, 0);
    Edit->Format();
}

void TEditFixture::Type(const std::string& Text) {
    for (char c : Text)
        Edit->SendChar(static_cast<unsigned char>(c));
}

std::string TEditFixture::CaretPos() const {
    return std::to_string(Data()->CurItemNo()) + ":" + std::to_string(Data()->OffsetInCurItem());
}

std::string DumpItems(const TCustomRPData& Data) {
    std::string out;
    for (int i = 0; i < Data.GetItemCount(); ++i) {
        const TCustomRPItemInfo* it = Data.GetItem(i);
        out += it->GetLineBreakBefore() ? "B" : it->GetContinuesPrev() ? "-" : "P";
        out += " s" + std::to_string(it->StyleNo) + " p" + std::to_string(it->ParaNo) + " \"";
        if (it->StyleNo >= 0)
            out += ItemTextToQString(Data.GetItemText(i), it->ItemOptions, 1252).toStdString();
        else if (it->StyleNo == rpsnListMarker)
            out += "#" + std::to_string(static_cast<const TRPMarkerItemInfo*>(it)->Counter);
        out += "\"\n";
    }
    return out;
}

std::string Misplaced(const TCustomRPData& D) {
    for (int i = 0; i < D.GetItemCount(); ++i) {
        const TCustomRPItemInfo* it = D.GetItem(i);
        if (D.GetItemStyle(i) == rpsnListMarker &&
            (it->GetContinuesPrev() || i + 1 >= D.GetItemCount() || !D.GetItem(i + 1)->GetContinuesPrev()))
            return "marker " + std::to_string(i) + " misplaced";
        if (i > 0 && it->GetContinuesPrev() && D.GetItem(i - 1)->GetBoolValue(rpbivFullLine))
            return "item " + std::to_string(i) + " joins a full line";
    }
    return std::string();
}

std::string SaveRPF(TCustomRichPad& Control) {
    std::string s;
    Control.SaveRPFToStream(s, false);
    return s;
}

std::string PlainText(const TCustomRPData& Data) {
    std::string out;
    for (int i = 0; i < Data.GetItemCount(); ++i) {
        if (i > 0 && !Data.GetItem(i)->GetContinuesPrev()) out += "\n";
        if (Data.GetItem(i)->StyleNo >= 0)
            out += ItemTextToQString(Data.GetItemText(i), Data.GetItemOptions(i), 1252).toStdString();
        else
            out += "#";
    }
    return out;
}

void AddNumberedList(TRPStyle& Style) {
    TRPListLevel* level = Style.ListStyles().Add()->Levels.Add();
    level->ListType = rplstDecimal;
    level->FormatString = "%s.";
}

void AddListEntry(TCustomRichPadEdit& E, const std::string& Text, int ListNo) {
    AddListEntry(*E.RPData(), Text, ListNo);
}

void AddListEntry(TCustomRPData& Data, const std::string& Text, int ListNo) {
    TCustomRPData* d = &Data;
    d->AddItem(std::string(), TRPMarkerItemInfo::CreateEx(d, ListNo, 0, 1, false));
    d->AddMarkerInList(d->GetItemCount() - 1);
    d->AddText(Text, 0, -1);
}

std::string DumpLayout(const TCustomRPFormattedData& D) {
    std::string out;
    for (int i = 0; i < D.DrawItemCount(); ++i) {
        const TRPDrawLineInfo* d = D.DrawItem(i);
        out += (d->FromNewLine ? "/" : " ") + std::to_string(d->Left) + "," + std::to_string(d->Top) + " " +
               std::to_string(d->Width) + "x" + std::to_string(d->Height) + " i" + std::to_string(d->ItemNo) +
               " o" + std::to_string(d->Offs) + " l" + std::to_string(d->Length) + "\n";
    }
    return out;
}
