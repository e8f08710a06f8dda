// Writing documents as HTML: the classic writer (DIV and FONT tags) and the
// CSS writer (P and SPAN tags with a style sheet or inline styles), picture
// files beside the page, and the application's hooks.
#include "richtext/model/RPHTMLWriter.h"

#include <QFile>
#include <algorithm>
#include <vector>
#include <QFileInfo>

#include "platform/CodePage.h"
#include "platform/Pictures.h"
#include "richtext/model/RPBackground.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/model/RPMarkers.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextHelpers.h"
#include "richtext/model/RPUnicode.h"

namespace {

const char* const CheckpointPrefix = "RichPadCheckpoint";
const char* const BackRepeat[] = {"", "no-repeat", "repeat", "repeat", "no-repeat"};
const char* const BackAttachment[] = {"", "fixed", "fixed", "scroll", "fixed"};

// One write of either kind.
class THTMLWrite {
public:
    THTMLWrite(TCustomRPData* D, std::string& S, TRPStyle& Style, const TRPHTMLParams& P, bool CSS,
               TColor& CurColor, int& ImageSaveNo, TRPHTMLBulletList& Bullets)
        : D(D), S(S), Style(Style), P(P), CSS(CSS), CurColor(CurColor), ImageSaveNo(ImageSaveNo),
          Bullets(Bullets) {}

    void SaveHTMLHead();
    void SaveHTMLBody(const TRPSaveRange& R);
    void SaveCSSHead();
    void SaveCSSBody(const TRPSaveRange& R);
    void SaveHTMLTail();
    void SaveCSSTail();

private:
    TCustomRPData* D;
    std::string& S;
    TRPStyle& Style;
    const TRPHTMLParams& P;
    bool CSS;
    TColor& CurColor;
    int& ImageSaveNo;
    TRPHTMLBulletList& Bullets;
    const TRPMarkerItemInfo* OpenList = nullptr;
    // Per open list level: whether a list item is open in it. A deeper list
    // goes inside the item before it, so that the nesting stays valid HTML.
    std::vector<bool> ItemOpen;
    int Anchors = 0;

    bool Opt(uint16_t o) const { return (P.Options & o) != 0; }
    std::string Extra(TRPHTMLSaveArea Area) {
        std::string code;
        D->DoSaveHTMLExtra(Area, CSS, code);
        return code;
    }
    void ParaCode(int ItemNo, bool Opening) { S += D->DoSaveParaHTMLCode(D, ItemNo, Opening, CSS); }
    void TitleAndMeta();
    std::string SaveBackgroundForHTML();
    void SaveHTMLCheckpoint(const TRPCPInfo& CP, const std::string& Prefix, bool EmptyLineBefore);
    std::string GetHTMLHyperlinkTag(int ItemNo, const std::string& ExtraAttr);
    std::string GetHTMLText(int ItemNo, const TRPSaveRange& R);
    bool IsHTMLVisibleStyle(int StyleNo) const;
    void ListTags(const TRPMarkerItemInfo& Marker);
    void CloseAllLevels();
    void CloseLevel(const TRPMarkerItemInfo& Marker, int Level);
    // At a paragraph start inside a list: the open item ends, unless the new
    // paragraph is an item of a deeper level of the same list.
    void EndListItem(int ItemNo);
    // After the last item: the open item and the lists end.
    void EndList();
    // Whether the paragraph at ItemNo becomes a list item.
    bool IsListItem(int ItemNo) const;
    std::string PageBreakAttr(int ItemNo) const;
    std::string TextAttr(int StyleNo) const;
    // The class and the style of a paragraph; InlineStyle holds what goes into style="...".
    void ParaAttr(int ItemNo, int ParaNo, bool InList, std::string& Class, std::string& InlineStyle) const;
    static std::string JoinAttr(const std::string& Class, const std::string& InlineStyle);
    void NonText(int ItemNo, const TRPSaveRange& R);
};

void THTMLWrite::TitleAndMeta() {
    std::string title;
    RPHTMLAppendAscii(title, HTMLEscapeAnsiText(P.Title, false, false), D->GetDefaultCodePage());
    RPWriteLn(S, "<HTML><HEAD><TITLE>" + title + "</TITLE>");
    const TFontInfos& ts = Style.TextStyles();
    const std::string cs = CharsetToHTMLCharset(ts.Count() > 0 ? ts.GetItem(0)->Charset : rpDefaultCharset);
    if (!cs.empty()) RPWriteLn(S, "<META HTTP-EQUIV=\"Content-Type\"  CONTENT=\"text/html; CHARSET=" + cs + "\">");
}

std::string THTMLWrite::SaveBackgroundForHTML() {
    TRPBackground* b = P.Background;
    if (!b || b->Style == bsNoBitmap || !b->Image || b->Image->Empty()) return std::string();
    std::string location;
    bool doDefault = true;
    D->DoHTMLSaveImage(D, -1, P.Path, P.Color, location, doDefault);
    if (!doDefault) return location;
    return BackslashesToSlashes(
        D->SaveImageForHTML(rpsfHTML, P.ImagesPrefix, P.Path, ImageSaveNo, Opt(rphsoOverwriteImages), P.Color,
                            b->Image.get()));
}

void THTMLWrite::SaveHTMLHead() {
    TitleAndMeta();
    S += Extra(0);
    RPWriteLn(S, "</HEAD>");
    S += "<BODY";
    if (P.Color != clNone) S += " bgcolor=" + ColorToHTML(P.Color);
    const std::string back = SaveBackgroundForHTML();
    if (!back.empty()) {
        S += " background=\"" + HTMLEscapeAttribute(back) + "\"";
        if (P.Background->Style != bsTiledAndScrolled) S += " bgproperties=fixed";
    }
    if (std::string e = Extra(1); !e.empty()) S += " " + e;
    RPWriteLn(S, " leftmargin=" + std::to_string(P.LeftMargin) + " topmargin=" + std::to_string(P.TopMargin) +
                     " rightmargin=" + std::to_string(P.RightMargin) +
                     " bottommargin=" + std::to_string(P.BottomMargin) + ">");
    S += Extra(2);
}

void THTMLWrite::SaveCSSHead() {
    TitleAndMeta();
    RPWriteLn(S, "<STYLE type=\"text/css\"><!--");
    RPWriteLn(S, "BODY {");
    RPWriteLn(S, "  margin: " + std::to_string(P.TopMargin) + "px " + std::to_string(P.RightMargin) + "px " +
                     std::to_string(P.BottomMargin) + "px " + std::to_string(P.LeftMargin) + "px;");
    if (P.Color != clNone) RPWriteLn(S, "  background-color: " + ColorToHTML(P.Color) + ";");
    const std::string back = SaveBackgroundForHTML();
    if (!back.empty()) {
        const int st = static_cast<int>(P.Background->Style);
        RPWriteLn(S, "  background-image: url(\"" + back + "\");");
        RPWriteLn(S, std::string("  background-repeat: ") + BackRepeat[st] + ";");
        RPWriteLn(S, std::string("  background-attachment: ") + BackAttachment[st] + ";");
        if (P.Background->Style == bsStretched || P.Background->Style == bsCentered)
            RPWriteLn(S, "  background-position: center center;");
    }
    RPWriteLn(S, "}");
    if (P.ExternalCSS.empty() && !Opt(rphsoInlineCSS)) Style.SaveCSSToStream(S, Opt(rphsoStyle0Classes) ? 4 : 0);
    RPWriteLn(S, P.ExtraStyles);
    RPWriteLn(S, "--></STYLE>");
    if (!P.ExternalCSS.empty() && !Opt(rphsoInlineCSS))
        RPWriteLn(S, "<LINK type=\"text/css\" href=\"" + HTMLEscapeAttribute(P.ExternalCSS) + "\" rel=STYLESHEET>");
    S += Extra(0);
    RPWriteLn(S, "</HEAD>");
    S += "<BODY";
    if (std::string e = Extra(1); !e.empty()) S += " " + e;
    RPWriteLn(S, ">");
    S += Extra(2);
}

void THTMLWrite::SaveHTMLTail() {
    S += Extra(3);
    RPWriteLn(S, "</BODY></HTML>");
}

void THTMLWrite::SaveCSSTail() {
    RPWriteLn(S, "");
    SaveHTMLTail();
}

void THTMLWrite::SaveHTMLCheckpoint(const TRPCPInfo& CP, const std::string& Prefix, bool EmptyLineBefore) {
    if (EmptyLineBefore) RPWriteLn(S, "");
    if (Opt(rphsoCheckpointNames) && !CP.Name.empty())
        RPWriteLn(S, "<A name=\"" + HTMLEscapeAttribute(CP.Name) + "\"></A>");
    else
        RPWriteLn(S, "<A name=" + Prefix + std::to_string(Anchors) + "></A>");
    ++Anchors;
}

std::string THTMLWrite::GetHTMLHyperlinkTag(int ItemNo, const std::string& ExtraAttr) {
    const TCustomRPItemInfo& it = *D->GetItem(ItemNo);
    std::string target, extras;
    D->DoWriteHyperlink(D->GetFirstJumpNo() + it.JumpID, D, ItemNo, rpsfHTML, target, extras);
    if (target.empty() && extras.empty()) return std::string();
    return "<A" + (ExtraAttr.empty() ? std::string() : " " + ExtraAttr) + " href=\"" + HTMLEscapeAttribute(target) + "\"" +
           (extras.empty() ? std::string() : " " + extras) + ">";
}

bool THTMLWrite::IsHTMLVisibleStyle(int StyleNo) const {
    const TRPTextOptions o = Style.TextStyles().GetItem(StyleNo)->Options;
    return !((o & rpteoRTFCode) && !(o & rpteoHTMLCode));
}

std::string THTMLWrite::GetHTMLText(int ItemNo, const TRPSaveRange& R) {
    std::string supplied;
    if (D->DoSaveItemToFile(P.Path, D, ItemNo, rpsfHTML, false, supplied)) return supplied;
    const TCustomRPItemInfo& it = *D->GetItem(ItemNo);
    const int sn = D->GetItemStyle(ItemNo);
    const bool code = (Style.TextStyles().GetItem(sn)->Options & rpteoHTMLCode) != 0;
    std::string text = D->GetItemText(ItemNo);
    const int last = D->GetLastOffsetOfItem(ItemNo);
    const int from = ItemNo == R.StartItemNo ? R.StartOffs : 1;
    const int to = ItemNo == R.EndItemNo ? R.EndOffs : last;
    if (from > 1 || to < last) text = ItemTextCopy(text, from, to - from, it.ItemOptions);
    // Readers may lack a symbol font: its codes go as the characters they stand for.
    if (std::string symbols; SymbolFontTextToUnicodeText(Style.TextStyles().GetItem(sn)->FontName, text,
                                                         it.ItemOptions, D->GetStyleCodePage(sn), symbols))
        return HTMLEscapeUnicodeText(symbols, true, code);
    if (it.IsUnicode()) return HTMLEscapeUnicodeText(text, true, code);
    std::string r;
    RPHTMLAppendAscii(r, HTMLEscapeAnsiText(text, true, code), D->GetStyleCodePage(sn));
    return r;
}

bool THTMLWrite::IsListItem(int ItemNo) const {
    const auto* m = dynamic_cast<const TRPMarkerItemInfo*>(D->GetItem(ItemNo));
    return m && m->GetLevelInfo(&Style) && !Opt(rphsoMarkersAsText);
}

void THTMLWrite::EndListItem(int ItemNo) {
    const auto* m = dynamic_cast<const TRPMarkerItemInfo*>(D->GetItem(ItemNo));
    const int level = std::max(0, OpenList->Level);
    if (IsListItem(ItemNo) && m->ListNo == OpenList->ListNo && m->Level > level) return;
    RPWriteLn(S, "</LI>");
    ItemOpen[static_cast<size_t>(level)] = false;
    ParaCode(ItemNo, false);
}

void THTMLWrite::EndList() {
    RPWriteLn(S, "</LI>");
    ItemOpen[static_cast<size_t>(std::max(0, OpenList->Level))] = false;
    ParaCode(D->GetItemCount(), false);
    CloseAllLevels();
}

void THTMLWrite::CloseLevel(const TRPMarkerItemInfo& M, int Level) {
    if (ItemOpen[static_cast<size_t>(Level)]) S += "</LI>";
    if (const TRPListLevel* lv = GetListLevelInfo(&Style, M.ListNo, Level)) S += RPHTMLListCloseTag(*lv);
    ItemOpen.resize(static_cast<size_t>(Level));
}

void THTMLWrite::ListTags(const TRPMarkerItemInfo& M) {
    const int newLevel = std::max(0, M.Level);
    const int oldLevel = OpenList ? std::max(0, OpenList->Level) : -1;
    const bool sameList = OpenList && OpenList->ListNo == M.ListNo;
    int from = 0;
    if (sameList) {
        for (int k = oldLevel; k > newLevel; --k)
            CloseLevel(*OpenList, k);
        if (newLevel <= oldLevel && ItemOpen[static_cast<size_t>(newLevel)]) {
            S += "</LI>";
            ItemOpen[static_cast<size_t>(newLevel)] = false;
        }
        from = oldLevel + 1;
    } else if (OpenList) {
        for (int k = oldLevel; k >= 0; --k)
            CloseLevel(*OpenList, k);
    }
    for (int k = from; k <= newLevel; ++k) {
        if (const TRPListLevel* lv = GetListLevelInfo(&Style, M.ListNo, k)) S += RPHTMLListOpenTag(*lv, CSS);
        ItemOpen.push_back(false);
        // A level without an item of its own gets an empty one to hold the deeper list.
        if (k < newLevel) {
            S += "<LI style=\"list-style: none;\">";
            ItemOpen.back() = true;
        }
    }
    if (!sameList || oldLevel != newLevel) RPWriteLn(S, "");
    ItemOpen[static_cast<size_t>(newLevel)] = true;
}

void THTMLWrite::CloseAllLevels() {
    if (!OpenList) return;
    for (int k = std::max(0, OpenList->Level); k >= 0; --k)
        CloseLevel(*OpenList, k);
    RPWriteLn(S, "");
    OpenList = nullptr;
}

std::string THTMLWrite::PageBreakAttr(int ItemNo) const {
    return D->IsPageBreak(ItemNo) ? "page-break-before: always;" : std::string();
}

std::string THTMLWrite::TextAttr(int StyleNo) const {
    if (Opt(rphsoInlineCSS)) {
        std::string css;
        RPFontInfoCSS(css, *Style.TextStyles().GetItem(StyleNo), nullptr, false, Style);
        return "style=\"" + HTMLEscapeAttribute(css) + "\"";
    }
    return "class=RPTS" + std::to_string(StyleNo);
}

void THTMLWrite::ParaAttr(int ItemNo, int ParaNo, bool InList, std::string& Class, std::string& InlineStyle) const {
    Class.clear();
    InlineStyle.clear();
    const std::string pb = PageBreakAttr(ItemNo);
    if (Opt(rphsoInlineCSS)) {
        RPParaInfoCSS(InlineStyle, *Style.ParaStyles().GetItem(ParaNo), nullptr, InList, false, false);
        if (!pb.empty()) InlineStyle += (InlineStyle.empty() ? "" : " ") + pb;
        return;
    }
    if (ParaNo > 0 || Opt(rphsoStyle0Classes)) Class = "class=RPPS" + std::to_string(ParaNo);
    InlineStyle = pb;
}

// One style attribute, never two: a class and the inline properties together.
std::string THTMLWrite::JoinAttr(const std::string& Class, const std::string& InlineStyle) {
    std::string r = Class;
    if (!InlineStyle.empty()) r += (r.empty() ? "" : " ") + std::string("style=\"") + HTMLEscapeAttribute(InlineStyle) + "\"";
    return r;
}

void THTMLWrite::NonText(int ItemNo, const TRPSaveRange& R) {
    std::string supplied;
    if (D->DoSaveItemToFile(P.Path, D, ItemNo, rpsfHTML, false, supplied)) {
        S += supplied;
        return;
    }
    const TCustomRPItemInfo& it = *D->GetItem(ItemNo);
    const TColor back = CSS ? CurColor : P.Color;
    if (const TRPMultiDrawItemPart* part = R.PartOf(ItemNo))
        it.SaveHTMLPart(S, D, ItemNo, D->GetItemText(ItemNo), P.Path, P.ImagesPrefix, ImageSaveNo, back,
                        P.Options, CSS, Bullets, *part);
    else
        it.SaveHTML(S, D, ItemNo, D->GetItemText(ItemNo), P.Path, P.ImagesPrefix, ImageSaveNo, back,
                    P.Options, CSS, Bullets);
}

void THTMLWrite::SaveHTMLBody(const TRPSaveRange& R) {
    const TFontInfo& f0 = *Style.TextStyles().GetItem(0);
    if (!Opt(rphsoNoDefaultFont)) RPWriteLn(S, OpenFontTags(f0, f0, false));
    bool div = false;
    for (int i = R.StartItemNo; i <= R.EndItemNo; ++i) {
        const TCustomRPItemInfo& it = *D->GetItem(i);
        const int sn = D->GetItemStyle(i);
        const bool paraStart = !it.GetContinuesPrev() && !it.GetLineBreakBefore() && i > R.StartItemNo;
        if (!it.GetContinuesPrev() && it.GetLineBreakBefore() && i > R.StartItemNo) RPWriteLn(S, "<BR>");
        if (paraStart) {
            // A DIV inside a list item closes before the item does.
            if (div) {
                RPWriteLn(S, "</DIV>");
                ParaCode(i, false);
                div = false;
            }
            if (OpenList) EndListItem(i);
        }
        if (i == R.StartItemNo || paraStart) {
            const auto* m = dynamic_cast<const TRPMarkerItemInfo*>(&it);
            const TRPListLevel* lv = m ? m->GetLevelInfo(&Style) : nullptr;
            const std::string pb = Opt(rphsoClassicCSS) && D->IsPageBreak(i)
                                       ? " style=\"page-break-before: always;\""
                                       : std::string();
            if (lv && !Opt(rphsoMarkersAsText)) {
                ListTags(*m);
                ParaCode(i, true);
                OpenList = m;
                S += lv->HasNumbering() ? "<LI value=" + std::to_string(m->Counter) + pb + ">" : "<LI" + pb + ">";
            } else if (sn != rpsnBreak) {
                if (!m) CloseAllLevels();
                ParaCode(i, true);
                static const char* const align[] = {"", " align=right", " align=center", " align=justify"};
                S += std::string("<DIV") + align[Style.ParaStyles().GetItem(it.ParaNo)->Alignment & 3] + pb + ">";
                div = true;
            }
        }
        if (it.Checkpoint) SaveHTMLCheckpoint(*it.Checkpoint, CheckpointPrefix, true);
        if (sn < 0 && RangeLeavesOut(*D, R, i)) continue;
        std::string link, title;
        if (it.GetBoolValueEx(rpbivexJump, &Style)) link = GetHTMLHyperlinkTag(i, std::string());
        if (!link.empty())
            S += link;
        else
            title = MakeHintAttribute(1, it.Hint);
        if (sn < 0) {
            NonText(i, R);
            if (sn == rpsnBreak) RPWriteLn(S, "");
        } else if (IsHTMLVisibleStyle(sn)) {
            if (!title.empty()) S += "<SPAN " + title + ">";
            if (sn == 0)
                S += GetHTMLText(i, R);
            else
                S += OpenFontTags(*Style.TextStyles().GetItem(sn), f0, true) + GetHTMLText(i, R) +
                     CloseFontTags(*Style.TextStyles().GetItem(sn), f0, true);
            if (!title.empty()) S += "</SPAN>";
        }
        if (!link.empty()) S += "</A>";
    }
    if (div) {
        RPWriteLn(S, "</DIV>");
        ParaCode(D->GetItemCount(), false);
    }
    if (OpenList) {
        EndList();
    }
    if (!Opt(rphsoNoDefaultFont)) RPWriteLn(S, CloseFontTags(f0, f0, false));
    if (D->NotAddedCP && R.EndItemNo == D->GetItemCount() - 1)
        SaveHTMLCheckpoint(*D->NotAddedCP, CheckpointPrefix, false);
}

void THTMLWrite::SaveCSSBody(const TRPSaveRange& R) {
    const std::string prefix = P.CPPrefix.empty() ? CheckpointPrefix : P.CPPrefix;
    const TFontInfos& ts = Style.TextStyles();
    const bool plain0 = ts.Count() > 0 && !ts.GetItem(0)->Jump && ts.GetItem(0)->BackColor == clNone &&
                        !Opt(rphsoStyle0Classes);
    bool para = false;
    // A table cannot stand in a paragraph: its container is a DIV.
    const char* paraTag = "P";
    int span = -1;
    for (int i = R.StartItemNo; i <= R.EndItemNo; ++i) {
        const TCustomRPItemInfo& it = *D->GetItem(i);
        const int sn = D->GetItemStyle(i);
        if (!it.GetContinuesPrev() || i == R.StartItemNo) {
            const bool lineBreak = it.GetLineBreakBefore() && i > R.StartItemNo;
            if ((!para && !OpenList) || lineBreak) RPWriteLn(S, "");
            if (lineBreak) {
                S += "<BR>";
            } else {
                if (OpenList) {
                    EndListItem(i);
                } else if (para) {
                    RPWriteLn(S, std::string("</") + paraTag + ">");
                    ParaCode(i, false);
                }
                para = false;
                paraTag = "P";
                const TColor back = Style.ParaStyles().GetItem(it.ParaNo)->Background.Color;
                CurColor = back != clNone ? back : P.Color;
                const auto* m = dynamic_cast<const TRPMarkerItemInfo*>(&it);
                const TRPListLevel* lv = m ? m->GetLevelInfo(&Style) : nullptr;
                std::string cls, inl;
                if (lv && Opt(rphsoMarkersAsText)) {
                    ParaCode(i, true);
                    if ((it.ParaNo != 0 || Opt(rphsoStyle0Classes)) && !Opt(rphsoInlineCSS)) {
                        ParaAttr(i, it.ParaNo, true, cls, inl);
                    } else {
                        RPParaInfoCSS(inl, *Style.ParaStyles().GetItem(it.ParaNo), nullptr, true, false, false);
                        if (const std::string pb = PageBreakAttr(i); !pb.empty()) inl += (inl.empty() ? "" : " ") + pb;
                    }
                    inl += (inl.empty() ? "" : " ") + RPHTMLMarkerParaCSS(*lv);
                    S += "<P " + JoinAttr(cls, inl) + ">";
                    para = true;
                } else if (lv) {
                    ListTags(*m);
                    ParaCode(i, true);
                    OpenList = m;
                    S += lv->HasNumbering() ? "<LI value=" + std::to_string(m->Counter) : std::string("<LI");
                    ParaAttr(i, it.ParaNo, true, cls, inl);
                    const std::string pic = RPHTMLListPicture(D, i, *m, P.Path, P.ImagesPrefix, ImageSaveNo, CurColor,
                                                              P.Options, Bullets);
                    if (!pic.empty()) inl += (inl.empty() ? "" : " ") + std::string("list-style: url('") + pic + "');";
                    if (const std::string a = JoinAttr(cls, inl); !a.empty()) S += " " + a;
                    S += ">";
                } else if (sn != rpsnBreak) {
                    CloseAllLevels();
                    ParaCode(i, true);
                    ParaAttr(i, it.ParaNo, false, cls, inl);
                    if (sn == rpsnTable) paraTag = "DIV";
                    const std::string a = JoinAttr(cls, inl);
                    S += std::string("<") + paraTag + (a.empty() ? std::string() : " " + a) + ">";
                    para = true;
                }
            }
        }
        if (it.Checkpoint) SaveHTMLCheckpoint(*it.Checkpoint, prefix, false);
        if (sn < 0) {
            if (RangeLeavesOut(*D, R, i)) continue;
            std::string link;
            if (it.GetBoolValueEx(rpbivexJump, &Style)) link = GetHTMLHyperlinkTag(i, std::string());
            S += link;
            NonText(i, R);
            if (!link.empty()) S += "</A>";
            continue;
        }
        if (!IsHTMLVisibleStyle(sn)) continue;
        std::string link;
        if (it.GetBoolValueEx(rpbivexJump, &Style)) link = GetHTMLHyperlinkTag(i, TextAttr(sn));
        if (!link.empty()) {
            S += link;
        } else if (sn != span) {
            if (sn == 0 && plain0 && !Opt(rphsoInlineCSS)) {
                span = -1;
            } else {
                S += "<SPAN " + TextAttr(sn) + ">";
                span = sn;
            }
        }
        const std::string title = link.empty() ? MakeHintAttribute(1, it.Hint) : std::string();
        if (!title.empty()) S += "<SPAN " + title + ">";
        S += GetHTMLText(i, R);
        if (!title.empty()) S += "</SPAN>";
        if (!link.empty()) {
            S += "</A>";
        } else if (span >= 0) {
            const bool goesOn = i < R.EndItemNo && D->GetItemStyle(i + 1) == sn && D->GetItem(i + 1)->GetContinuesPrev();
            if (!goesOn) {
                S += "</SPAN>";
                span = -1;
            }
        }
    }
    if (OpenList) {
        EndList();
    } else if (para) {
        S += std::string("</") + paraTag + ">";
        ParaCode(D->GetItemCount(), false);
    }
    if (D->NotAddedCP && R.EndItemNo == D->GetItemCount() - 1)
        SaveHTMLCheckpoint(*D->NotAddedCP, prefix, false);
}

} // namespace

// ---------------------------------------------------------------------------

void RPHTMLAppendAscii(std::string& Out, std::string_view s, int CodePage) {
    if (std::all_of(s.begin(), s.end(), [](char c) { return static_cast<uint8_t>(c) < 0x80; })) {
        Out.append(s);
        return;
    }
    // The whole text at once: in double-byte code pages a character's second
    // byte can be below 128.
    for (const char32_t c : ItemTextToQString(s, 0, CodePage).toUcs4()) {
        if (c < 0x80)
            Out += static_cast<char>(c);
        else
            Out += "&#" + std::to_string(static_cast<uint32_t>(c)) + ";";
    }
}

void TCustomRPData::DoHTMLSaveImage(TCustomRPData* RPData, int ItemNo, const std::string& Path, TColor BackColor,
                                    std::string& Location, bool& DoDefault) {
    TCustomRPData* r = GetAbsoluteRootData();
    if (r != this) return r->DoHTMLSaveImage(RPData, ItemNo, Path, BackColor, Location, DoDefault);
    Location.clear();
    DoDefault = true;
}

void TCustomRPData::DoSaveImage2(const TGraphic* Graphic, int SaveFormat, const std::string& Path,
                                 const std::string& ImagePrefix, int ImageSaveNo, std::string& Location,
                                 bool& DoDefault) {
    TCustomRPData* r = GetAbsoluteRootData();
    if (r != this) return r->DoSaveImage2(Graphic, SaveFormat, Path, ImagePrefix, ImageSaveNo, Location, DoDefault);
    Location.clear();
    DoDefault = true;
}

std::string TCustomRPData::MakeUniqueFileName(const std::string& ImagesPrefix, const std::string& Path,
                                              bool OverrideFiles, int& ImageSaveNo, const std::string& Extension) {
    // A prefix may name a subfolder with either separator.
    std::string prefix = ImagesPrefix;
    for (char& c : prefix)
        if (c == '\\') c = '/';
    for (;;) {
        ++ImageSaveNo;
        const std::string name = Path + prefix + std::to_string(ImageSaveNo) + Extension;
        const QFileInfo info(QString::fromStdString(name));
        if (!info.exists() || (OverrideFiles && info.isWritable())) return name;
    }
}

std::string TCustomRPData::SaveImageForHTML(int SaveFormat, const std::string& ImagesPrefix, const std::string& Path,
                                            int& ImageSaveNo, bool OverrideFiles, TColor BackColor,
                                            const TGraphic* Graphic) {
    std::string location;
    bool doDefault = true;
    DoSaveImage2(Graphic, SaveFormat, Path, ImagesPrefix, ImageSaveNo, location, doDefault);
    if (!doDefault) return location;
    if (!Graphic || Graphic->Empty()) return std::string();
    const bool listed = RP_IsListedGraphicClass(Graphic);
    std::string ext = SaveFormat == rpsfHTML ? ".jpg" : ".bmp";
    if (SaveFormat == rpsfHTML && listed) {
        // A class kept in its own format takes the extension it is known by ("TPngImage": ".png").
        QString c = Graphic->ClassName();
        if (c.startsWith(QLatin1Char('T'))) c.remove(0, 1);
        if (c.endsWith(QLatin1String("Image"))) c.chop(5);
        ext = "." + c.toLower().toStdString();
    }
    const std::string file = MakeUniqueFileName(ImagesPrefix, Path, OverrideFiles, ImageSaveNo, ext);
    // The location: the folder part of the prefix and the file's own name.
    const size_t cut = ImagesPrefix.find_last_of("\\/:");
    std::string folder = cut == std::string::npos ? std::string() : ImagesPrefix.substr(0, cut + 1);
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
    location = folder + QFileInfo(QString::fromStdString(file)).fileName().toStdString();
    const QString out = QString::fromStdString(file);
    if (SaveFormat == rpsfHTML && (dynamic_cast<const TJPEGImage*>(Graphic) || listed)) {
        if (!Graphic->SaveToFile(out)) throw ERichPadError("Can't write picture file");
        return location;
    }
    TBitmap bmp;
    if (const auto* b = dynamic_cast<const TBitmap*>(Graphic)) {
        bmp.Assign(*b);
    } else {
        bmp.SetPixelFormat(pf32bit);
        bmp.SetSize(Graphic->Width(), Graphic->Height());
        bmp.Canvas()->Brush()->SetColor(BackColor == clNone ? clWhite : BackColor);
        bmp.Canvas()->FillRect(Rect(0, 0, bmp.Width(), bmp.Height()));
        bmp.Canvas()->Draw(0, 0, *Graphic);
    }
    bool ok;
    if (SaveFormat == rpsfHTML) {
        TJPEGImage jpg;
        jpg.Assign(bmp);
        ok = jpg.SaveToFile(out);
    } else {
        ok = bmp.SaveToFile(out);
    }
    if (!ok) throw ERichPadError("Can't write picture file");
    return location;
}

bool TCustomRPData::SaveHTMLRangeToStream(std::string& Stream, const TRPHTMLParams& Params, bool UseCSS,
                                          TColor& CurrentFileColor, int& ImageSaveNo, const TRPSaveRange& Range) {
    TRPStyle* style = GetRPStyle();
    if (!style) return false;
    const size_t start = Stream.size();
    try {
        std::unique_ptr<TRPHTMLBulletList> own;
        TRPHTMLBulletList* bullets = Params.Bullets;
        if (!bullets) {
            own = std::make_unique<TRPHTMLBulletList>();
            bullets = own.get();
        }
        THTMLWrite w(this, Stream, *style, Params, UseCSS, CurrentFileColor, ImageSaveNo, *bullets);
        const uint16_t o = Params.Options;
        if (!(o & (rphsoBodyOnly | rphsoEndOnly))) UseCSS ? w.SaveCSSHead() : w.SaveHTMLHead();
        const bool hasItems = Range.StartItemNo >= 0 && Range.StartItemNo <= Range.EndItemNo &&
                              Range.EndItemNo < GetItemCount();
        if (!(o & (rphsoHeadOnly | rphsoEndOnly))) {
            if (hasItems)
                UseCSS ? w.SaveCSSBody(Range) : w.SaveHTMLBody(Range);
            else if (!UseCSS && !(o & rphsoNoDefaultFont)) {
                const TFontInfo& f0 = *style->TextStyles().GetItem(0);
                RPWriteLn(Stream, OpenFontTags(f0, f0, false));
                RPWriteLn(Stream, CloseFontTags(f0, f0, false));
            }
        }
        if (!(o & (rphsoHeadOnly | rphsoBodyOnly))) UseCSS ? w.SaveCSSTail() : w.SaveHTMLTail();
    } catch (const std::exception&) {
        return false;
    }
    // What an application hands in through the hooks is made plain ASCII too.
    std::string tail = Stream.substr(start);
    Stream.resize(start);
    RPHTMLAppendAscii(Stream, tail, GetDefaultCodePage());
    return true;
}

bool TCustomRPData::SaveHTMLToStream(std::string& Stream, const std::string& Path, const std::string& Title,
                                     const std::string& ImagesPrefix, TRPHTMLSaveOptions Options, TColor Color,
                                     int& ImageSaveNo, int LeftMargin, int TopMargin, int RightMargin,
                                     int BottomMargin, TRPBackground* Background, TRPHTMLBulletList* Bullets) {
    const TRPHTMLParams p{Path,    Title,      ImagesPrefix, {},          {},           {},         Options,
                          Color,   LeftMargin, TopMargin,    RightMargin, BottomMargin, Background, Bullets};
    TColor cur = Color;
    return SaveHTMLRangeToStream(Stream, p, false, cur, ImageSaveNo, GetSaveRange(false));
}

bool TCustomRPData::SaveHTMLWithCSSToStream(std::string& Stream, const std::string& Path, const std::string& Title,
                                            const std::string& ImagesPrefix, const std::string& ExtraStyles,
                                            const std::string& ExternalCSS, const std::string& CPPrefix,
                                            TRPHTMLSaveOptions Options, TColor Color, TColor& CurrentFileColor,
                                            int& ImageSaveNo, int LeftMargin, int TopMargin, int RightMargin,
                                            int BottomMargin, TRPBackground* Background,
                                            TRPHTMLBulletList* Bullets) {
    const TRPHTMLParams p{Path,    Title,      ImagesPrefix, ExtraStyles, ExternalCSS,  CPPrefix,   Options,
                          Color,   LeftMargin, TopMargin,    RightMargin, BottomMargin, Background, Bullets};
    CurrentFileColor = Color;
    return SaveHTMLRangeToStream(Stream, p, true, CurrentFileColor, ImageSaveNo, GetSaveRange(false));
}

bool TCustomRPData::SaveHTML(const std::string& FileName, const std::string& Title, const std::string& ImagesPrefix,
                             TRPHTMLSaveOptions Options, bool UseCSS, TColor Color, TRPBackground* Background) {
    const QFileInfo info(QString::fromStdString(FileName));
    std::string path = info.absolutePath().toStdString();
    if (!path.empty() && path.back() != '/') path += '/';
    std::string html;
    int imageNo = 0;
    TColor cur = Color;
    const bool ok = UseCSS ? SaveHTMLWithCSSToStream(html, path, Title, ImagesPrefix, std::string(), std::string(),
                                                     std::string(), Options, Color, cur, imageNo, 0, 0, 0, 0,
                                                     Background, nullptr)
                           : SaveHTMLToStream(html, path, Title, ImagesPrefix, Options, Color, imageNo, 0, 0, 0, 0,
                                              Background, nullptr);
    if (!ok) return false;
    QFile f(QString::fromStdString(FileName));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return f.write(html.data(), static_cast<qint64>(html.size())) == static_cast<qint64>(html.size()) && f.flush();
}
