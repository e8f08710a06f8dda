// Effect of the property control words on the reader's records.
#include "platform/Runtime.h"
#include "richtext/model/RPReadLimits.h"
#include "richtext/rtf/RPRTFKeywords.h"
#include "richtext/rtf/RPRTFReader.h"

#include <algorithm>
#include <cctype>
#include <climits>

using namespace RPRTFKw;

namespace {

using L = TRPReadLimits;

// Half-points to points, halves to even, kept in a size a font can have.
int HalfPoints(int p) {
    return std::clamp(static_cast<int>(Round(p / 2.0)), L::MinFontSize, L::MaxFontSize);
}

// Lengths in twips in the ranges of the styles they go into. Indents and
// spaces of a paragraph reach its border, whose lines and gap the import adds.
int IndentTwips(int p) {
    return std::clamp(p, -L::Twips(L::MaxIndent), L::Twips(L::MaxIndent));
}
int ParaTwips(int p) {
    constexpr int max = L::Twips(L::MaxIndent + L::MaxBorderReach);
    return std::clamp(p, -max, max);
}
int SpacingTwips(int p) {
    return std::clamp(p, -L::Twips(L::MaxSpacing), L::Twips(L::MaxSpacing));
}

void SetStyleBit(uint8_t& style, uint8_t bit, bool on) {
    style = static_cast<uint8_t>(on ? style | bit : style & ~bit);
}

constexpr TColor kHighlight[17] = {clNone,   0x000000, 0xFF0000, 0xFFFF00, 0x00FF00, 0xFF00FF,
                                   0x0000FF, 0x00FFFF, 0xFFFFFF, 0x800000, 0x808000, 0x008000,
                                   0x800080, 0x000080, 0x008080, 0x808080, 0xC0C0C0};

} // namespace

TColor TRPRTFReader::ColorAt(int index, TColor fallback) const {
    if (index >= 0 && static_cast<size_t>(index) < fColors.size()) return fColors[static_cast<size_t>(index)];
    return fallback;
}

TRPRTFBorderSide* TRPRTFReader::BorderSideForTarget() {
    switch (fState->BorderTarget) {
    case 1: {
        auto& row = Row();
        return &row.Border.Side(row.CurBorderSide);
    }
    case 2: {
        auto& cell = Row().LastCell();
        return &cell.Border.Side(cell.CurBorderSide);
    }
    default: {
        auto& pp = fState->ParaProps;
        return &pp.GetBorder().Side(pp.CurBorderSide);
    }
    }
}

TRPRTFMarkerProperties* TRPRTFReader::PNTarget() {
    if (fState->Dest == rdsPN) return fPN.get();
    if (fState->Dest != rdsPNSecLvl || !fSectNumbering || fPNSecLvl < 1 || fPNSecLvl > 11) return nullptr;
    return &(*fSectNumbering)[static_cast<size_t>(fPNSecLvl - 1)];
}

TRPRTFMarkerProperties* TRPRTFReader::PNTextTarget() {
    if (!fPNTextForSection) return fPN.get();
    if (!fSectNumbering || fPNSecLvl < 1 || fPNSecLvl > 11) return nullptr;
    return &(*fSectNumbering)[static_cast<size_t>(fPNSecLvl - 1)];
}

void TRPRTFReader::ApplyUnicode(int code) {
    const char16_t ch = static_cast<char16_t>(code & 0xFFFF);
    TRPRTFReaderState& st = *fState;
    switch (st.Dest) {
    case rdsNorm:
        if (OnNewUnicodeText) {
            fSkipCount = st.UC;
            AddUnicodeChar(ch);
        }
        return;
    case rdsPNTextAfter:
    case rdsPNTextBefore:
        if (TRPRTFMarkerProperties* m = PNTextTarget(); m && ch >= 0xF000 && ch <= 0xF0FF &&
                                                        m->FontIndex >= 0 &&
                                                        static_cast<size_t>(m->FontIndex) < fFonts.size()) {
            std::string name = fFonts[static_cast<size_t>(m->FontIndex)].Name;
            std::transform(name.begin(), name.end(), name.begin(),
                           [](unsigned char c) { return std::toupper(c); });
            if (name == "SYMBOL") {
                fSkipCount = st.UC;
                RouteChar(static_cast<unsigned char>(ch & 0xFF));
                return;
            }
        }
        break;
    case rdsLevelText:
        if (!fLists.empty() && !fLists.back().Levels.empty()) {
            auto& lvl = fLists.back().Levels.back();
            fSkipCount = st.UC;
            if (lvl.Text.size() >= 1024) return;
            if (lvl.TextW.empty()) lvl.TextW = AnsiToUnicode(lvl.Text);
            lvl.TextW.push_back(ch);
            lvl.Text += UnicodeToAnsi(std::u16string(1, ch));
        }
        return;
    default:
        break;
    }
    if (st.UC >= 1) {
        fSkipCount = st.UC;
        for (char b : UnicodeToAnsi(std::u16string(1, ch)))
            RouteChar(static_cast<unsigned char>(b));
    }
}

uint8_t TRPRTFReader::ApplyProperty(int prop, int p) {
    TRPRTFReaderState& st = *fState;
    switch (st.Dest) {
    case rdsColorTable:
        if ((prop == ipRed || prop == ipGreen || prop == ipBlue) && !fColors.empty()) {
            TColor& c = fColors.back();
            if (c == RTFAutoColor) c = 0;
            const int shift = prop == ipRed ? 0 : prop == ipGreen ? 8 : 16;
            // Components beyond a byte are masked, never carried into the next one.
            c = static_cast<TColor>(c | ((p & 0xFF) << shift));
            fTrailingAutoColor = false;
        }
        return rtfOK;
    case rdsStyleSheetEntry: {
        if (fStyleSheet.empty()) return rtfOK;
        auto& e = fStyleSheet.back();
        auto indexOf = [&](int number) {
            for (size_t i = 0; i < fStyleSheet.size(); ++i)
                if (fStyleSheet[i].Number == number) return static_cast<int>(i);
            return -1;
        };
        switch (prop) {
        case ipStyleS:
            e.Number = p;
            e.Kind = 0;
            break;
        case ipStyleCS:
            e.Number = p;
            e.Kind = 1;
            break;
        case ipStyleDS:
            e.Number = p;
            e.Kind = 2;
            break;
        case ipSBasedOn:
            e.BasedOn = indexOf(p);
            break;
        case ipSNext:
            e.Next = indexOf(p);
            break;
        case ipAdditive:
            e.Additive = true;
            break;
        case ipSHidden:
            e.Hidden = true;
            break;
        default:
            break;
        }
        return rtfOK;
    }
    case rdsSkip:
    case rdsShpInst:
    case rdsShpProp:
    case rdsShpPropName:
    case rdsShpPictValue:
    case rdsShpText:
        // Of a shape only its pictures are read: its text box keeps its formatting.
        return rtfOK;
    case rdsPict:
        ApplyPicture(prop, p);
        return rtfOK;
    case rdsObject:
        if (fObject) {
            if (prop == ipObjKind)
                fObject->Kind = p;
            else if (prop == ipObjW)
                fObject->Width = p;
            else if (prop == ipObjH)
                fObject->Height = p;
        }
        return rtfOK;
    case rdsPN:
    case rdsPNSecLvl:
        ApplyNumbering(prop, p);
        return rtfOK;
    case rdsList:
    case rdsListLevel:
    case rdsLO:
    case rdsLOLevel:
        ApplyList(prop, p);
        return rtfOK;
    default:
        break;
    }
    // Words of the font table itself.
    if (prop == ipFontFamily || prop == ipFCharset) {
        if (st.Dest == rdsFontTable && !fFonts.empty()) {
            if (prop == ipFontFamily)
                fFonts.back().Family = p;
            else
                fFonts.back().Charset = (p >= 0 && p < 256) ? p : 77;
        }
        return rtfOK;
    }
    uint8_t r = ApplyCharacter(prop, p);
    if (r != 0xFF) return r;
    r = ApplyParagraph(prop, p);
    if (r != 0xFF) return r;
    r = ApplyTable(prop, p);
    if (r != 0xFF) return r;
    auto& sp = st.SectProps;
    auto& dp = st.DocProps;
    switch (prop) {
    case ipU:
        ApplyUnicode(p);
        break;
    case ipUC:
        st.UC = std::clamp(p, 0, 100);
        break;
    case ipDefLang:
        st.DefLanguage = p;
        break;
    case ipDefF:
        if (st.Dest == rdsNorm) {
            fDefFontNumber = p;
            fDefFontIndex = -1;
        }
        break;
    case ipAnsiCpg:
        if (p > 0) fCodePage = p;
        break;
    case ipPage:
        DoPage();
        break;
    case ipSectd:
        sp = TRPRTFSectionProperties{};
        fSectNumbering.reset();
        break;
    case ipCols:
        sp.Columns = p;
        break;
    case ipSbk:
        sp.SectionBreak = p;
        break;
    case ipPgnX:
        sp.PageNumberX = p;
        break;
    case ipPgnY:
        sp.PageNumberY = p;
        break;
    case ipPgnFmt:
        sp.PageNumberFormat = p;
        break;
    case ipHeaderY:
        sp.HeaderY = std::clamp(p, 0, L::Twips(L::MaxIndent));
        break;
    case ipFooterY:
        sp.FooterY = std::clamp(p, 0, L::Twips(L::MaxIndent));
        break;
    case ipPaperW:
        dp.PaperWidth = p;
        break;
    case ipPaperH:
        dp.PaperHeight = p;
        break;
    case ipMargL:
        dp.LeftMargin = p;
        break;
    case ipMargR:
        dp.RightMargin = p;
        break;
    case ipMargT:
        dp.TopMargin = p;
        break;
    case ipMargB:
        dp.BottomMargin = p;
        break;
    case ipPgnStart:
        dp.PageNumberStart = p;
        break;
    case ipFacingP:
        dp.FacingPages = p != 0;
        break;
    case ipLandscape:
        dp.Landscape = p != 0;
        break;
    case ipPnSecLvl:
        // Only the eleven levels exist; another number skips its group.
        if (p >= 1 && p <= 11) {
            fPNSecLvl = p;
            if (!fSectNumbering) fSectNumbering = std::make_unique<TRPRTFSectionNumbering>();
            st.Dest = rdsPNSecLvl;
        } else {
            st.Dest = rdsSkip;
        }
        break;
    default:
        break; // words of other destinations are ignored here
    }
    return rtfOK;
}

uint8_t TRPRTFReader::ApplyCharacter(int prop, int p) {
    TRPRTFReaderState& st = *fState;
    auto& cp = st.CharProps;
    switch (prop) {
    case ipBold:
        SetStyleBit(cp.Style, rtffsBold, p != 0);
        break;
    case ipItalic:
        SetStyleBit(cp.Style, rtffsItalic, p != 0);
        break;
    case ipUnderline:
        SetStyleBit(cp.Style, rtffsUnderline, p != 0);
        break;
    case ipStrike:
        SetStyleBit(cp.Style, rtffsStrikeOut, p != 0);
        break;
    case ipFontSize:
        cp.Size = HalfPoints(p);
        break;
    case ipLang:
        cp.Language = p;
        break;
    case ipColor:
        cp.Color = ColorAt(p, cp.Color);
        break;
    case ipBackColor: {
        const TColor c = ColorAt(p, cp.BackColor);
        cp.BackColor = c == RTFAutoColor ? clNone : c;
        break;
    }
    case ipHighlight:
        if (ConvertHighlight == rtf_hl_FixedColors)
            cp.BackColor = (p >= 1 && p <= 16) ? kHighlight[p] : clNone;
        else if (ConvertHighlight == rtf_hl_ColorTable) {
            const TColor c = ColorAt(p, cp.BackColor);
            cp.BackColor = c == RTFAutoColor ? clNone : c;
        }
        break;
    case ipPlain:
        if (fDefFontIndex < 0 && !fFonts.empty()) fDefFontIndex = FindFont(fDefFontNumber);
        cp.Reset(std::max(fDefFontIndex, 0), st.DefLanguage);
        break;
    case ipCaps:
        cp.AllCaps = p != 0;
        break;
    case ipSub:
        cp.VShift = 1;
        break;
    case ipSuper:
        cp.VShift = 2;
        break;
    case ipNoSuperSub:
        cp.VShift = 0;
        break;
    case ipCharScaleX:
        cp.CharScale = std::clamp(p, L::MinCharScale, L::MaxCharScale);
        break;
    case ipExpndTw:
        cp.Expansion = SpacingTwips(p);
        break;
    case ipHidden:
        DoHidden(p != 0);
        break;
    case ipFont:
        if (st.Dest == rdsNorm) {
            cp.FontIndex = FindFont(p);
        } else if (st.Dest == rdsFontTable && fFonts.size() < MaxTableEntries) {
            fFonts.emplace_back();
            fFonts.back().Number = p;
        }
        break;
    default:
        return 0xFF;
    }
    return rtfOK;
}

uint8_t TRPRTFReader::ApplyParagraph(int prop, int p) {
    TRPRTFReaderState& st = *fState;
    auto& pp = st.ParaProps;
    switch (prop) {
    case ipLeftInd:
        pp.LeftIndent = ParaTwips(p);
        break;
    case ipRightInd:
        pp.RightIndent = ParaTwips(p);
        break;
    case ipFirstInd:
        pp.FirstIndent = IndentTwips(p);
        break;
    // Below zero a space only makes room for the border; the style keeps no
    // space below zero.
    case ipSpaceBefore:
        pp.SpaceBefore = ParaTwips(p);
        break;
    case ipSpaceAfter:
        pp.SpaceAfter = ParaTwips(p);
        break;
    case ipAlign:
        pp.Alignment = p;
        break;
    case ipSL:
        pp.LineSpacing = SpacingTwips(p);
        break;
    case ipSLMult:
        pp.LineSpacingMulti = p != 0;
        break;
    case ipShadingFill:
        pp.ShadingFill = ColorAt(p, pp.ShadingFill);
        break;
    case ipShadingPattern:
        pp.ShadingPattern = ColorAt(p, pp.ShadingPattern);
        break;
    case ipShading:
        pp.Shading = std::clamp(p, 0, 10000);
        break;
    case ipPard:
        pp = TRPRTFParaProperties{};
        break;
    case ipIntbl:
        pp.InTable = true;
        break;
    case ipItap:
        // A negative or absurd nesting never reaches the table events.
        pp.NestingLevel = std::clamp(p, 0, MaxTableLevel);
        if (pp.NestingLevel > 0) pp.InTable = true;
        break;
    case ipAbsNoOvrlp:
        pp.NoOverlap = p != 0;
        break;
    case ipLs: {
        pp.ListOverrideIndex = -1;
        for (size_t i = 0; i < fOverrides.size(); ++i)
            if (fOverrides[i].Number == p) {
                pp.ListOverrideIndex = static_cast<int>(i);
                break;
            }
        break;
    }
    case ipIlvl:
        pp.ListLevel = (p >= 0 && p <= 8) ? p : 0;
        break;
    case ipTx:
        break;
    case ipBrdrSide:
        st.BorderTarget = 0;
        pp.CurBorderSide = p;
        pp.GetBorder().Side(p);
        break;
    case ipBrdrStyle: {
        TRPRTFBorderSide* side = BorderSideForTarget();
        if (side->Type == 0) side->Type = p;
        break;
    }
    case ipBrdrW:
        BorderSideForTarget()->Width = std::clamp(p, 0, 32767);
        break;
    case ipBrdrCf: {
        TRPRTFBorderSide* side = BorderSideForTarget();
        side->Color = ColorAt(p, side->Color);
        break;
    }
    case ipBrsp:
        pp.GetBorder().Side(pp.CurBorderSide).Spacing = std::clamp(p, 0, L::Twips(L::MaxSpacing));
        break;
    default:
        return 0xFF;
    }
    return rtfOK;
}

uint8_t TRPRTFReader::ApplyTable(int prop, int p) {
    TRPRTFReaderState& st = *fState;
    if (prop == ipCell) {
        DoCell();
        return rtfOK;
    }
    if (prop == ipRow) {
        DoRow();
        return rtfOK;
    }
    if (prop == ipTrowd) {
        st.RowProps = std::make_shared<TRPRTFRowProperties>();
        return rtfOK;
    }
    // Widths are kept negated as percentages: the one int without a negation
    // is taken as its neighbour.
    const int width = std::max(p, -INT_MAX);
    if (prop >= ipTrPadd && prop < ipTrwWidth) {
        auto& row = Row();
        const int side = (prop - ipTrPadd) % 4;
        const int group = (prop - ipTrPadd) / 4;
        switch (group) {
        case 0:
            row.Padding[side] = p;
            break;
        case 1:
            row.PaddingInTwips[side] = p == 3;
            break;
        case 2:
            row.Spacing[side] = p;
            break;
        default:
            row.SpacingInTwips[side] = p == 3;
            break;
        }
        return rtfOK;
    }
    switch (prop) {
    case ipTrAlign:
        Row().Alignment = p;
        Row().AlignmentGiven = true;
        break;
    case ipTrHdr:
        Row().Heading = true;
        break;
    case ipTrGapH:
        Row().GapH = p;
        break;
    case ipTrLeft:
        Row().Left = p;
        break;
    case ipTrRH:
        Row().Height = p;
        break;
    case ipTrwWidth: {
        auto& row = Row();
        row.BestWidth = row.WidthIsPercent ? -width : width;
        break;
    }
    case ipTrftsWidth: {
        auto& row = Row();
        if (p == 2) {
            // Marked once: a second \trftsWidth2 must not flip the sign back.
            if (!row.WidthIsPercent) {
                row.WidthIsPercent = true;
                row.BestWidth = -row.BestWidth;
            }
        } else if (p != 3) {
            row.BestWidth = 0;
        }
        break;
    }
    case ipClVMerge:
        Row().LastCell().VMerge = p;
        break;
    case ipClHMerge:
        Row().LastCell().HMerge = p;
        break;
    case ipClwWidth: {
        auto& cell = Row().LastCell();
        cell.BestWidth = cell.WidthIsPercent ? -width : width;
        break;
    }
    case ipClftsWidth: {
        auto& cell = Row().LastCell();
        if (p == 2) {
            if (!cell.WidthIsPercent) {
                cell.WidthIsPercent = true;
                cell.BestWidth = -cell.BestWidth;
            }
        } else if (p != 3) {
            cell.BestWidth = 0;
        }
        break;
    }
    case ipClCbPat: {
        auto& cell = Row().LastCell();
        const TColor c = ColorAt(p, cell.Color);
        cell.Color = c == RTFAutoColor ? clNone : c;
        break;
    }
    case ipClCfPat: {
        auto& cell = Row().LastCell();
        cell.PatternColor = ColorAt(p, cell.PatternColor);
        break;
    }
    case ipClShdng:
        Row().LastCell().Shading = std::clamp(p, 0, 10000);
        break;
    case ipClVertAl:
        Row().LastCell().VAlign = p;
        break;
    case ipCellX: {
        auto& row = Row();
        // MaxCells boundaries; the entry after the last stays open and goes at the row's end.
        if (static_cast<int>(row.Cells.size()) > MaxCells) break;
        row.LastCell().RightBoundary = p;
        row.Cells.emplace_back();
        row.OpenCellPending = true;
        break;
    }
    case ipTrBrdr:
        st.BorderTarget = 1;
        Row().CurBorderSide = p;
        Row().Border.Side(p);
        break;
    case ipClBrdr: {
        st.BorderTarget = 2;
        auto& cell = Row().LastCell();
        cell.CurBorderSide = p;
        cell.Border.Side(p);
        break;
    }
    case ipRichPadCbw: {
        auto& row = Row();
        row.LastCell().BestWidth = width;
        row.SuiteValuesGiven = true;
        break;
    }
    case ipRichPadCbh: {
        auto& row = Row();
        row.LastCell().BestHeight = p;
        row.SuiteValuesGiven = true;
        break;
    }
    case ipRichPadTbw: {
        auto& row = Row();
        row.BestWidth = width;
        row.SuiteValuesGiven = true;
        break;
    }
    case ipRichPadTbNew:
        Row().NewTable = true;
        break;
    case ipRichPadTbHs:
        Row().BorderHSpacing = p;
        break;
    case ipRichPadTbVs:
        Row().BorderVSpacing = p;
        break;
    case ipRichPadTcHs:
        Row().CellHSpacing = p;
        break;
    case ipRichPadTcVs:
        Row().CellVSpacing = p;
        break;
    default:
        return 0xFF;
    }
    return rtfOK;
}

void TRPRTFReader::ApplyPicture(int prop, int p) {
    if (!fPicture) return;
    auto& pic = *fPicture;
    switch (prop) {
    case ipPicW:
        pic.PicW = p;
        break;
    case ipPicH:
        pic.PicH = p;
        break;
    case ipPicWGoal:
        pic.PicWGoal = p;
        break;
    case ipPicHGoal:
        pic.PicHGoal = p;
        break;
    case ipPicScaleX:
        pic.ScaleX = p;
        break;
    case ipPicScaleY:
        pic.ScaleY = p;
        break;
    case ipWbmBitsPixel:
        pic.BitsPixel = p;
        break;
    case ipWbmPlanes:
        pic.Planes = p;
        break;
    case ipWbmWidthBytes:
        pic.WidthBytes = p;
        break;
    case ipPicKind:
        pic.Kind = static_cast<TRPRTFPictureKind>(p);
        break;
    case ipWMetafile:
        pic.Kind = rtfpkWMF;
        pic.MetafileMapMode = (p >= 2 && p <= 8) ? p : 1;
        break;
    case ipPicBmp:
        pic.IsBitmap = p != 0;
        break;
    default:
        break;
    }
}

void TRPRTFReader::ApplyNumbering(int prop, int p) {
    TRPRTFMarkerProperties* m = PNTarget();
    if (!m) return;
    switch (prop) {
    case ipPnLvl:
        if (fState->Dest != rdsPN) break;
        if (p >= 1 && p <= 11) {
            if (fSectNumbering) *m = (*fSectNumbering)[static_cast<size_t>(p - 1)];
            m->Level = p;
        } else {
            m->Level = 0; // a level that does not exist: the numbering is not used
        }
        break;
    case ipPnLvlCont:
        if (fState->Dest == rdsPN) m->Continues = true;
        break;
    case ipPnHang:
        m->Hanging = p != 0;
        break;
    case ipPnKind:
        m->Kind = p;
        break;
    case ipPnUl:
        SetStyleBit(m->Style, rtffsUnderline, p != 0);
        break;
    case ipPnB:
        SetStyleBit(m->Style, rtffsBold, p != 0);
        break;
    case ipPnI:
        SetStyleBit(m->Style, rtffsItalic, p != 0);
        break;
    case ipPnStrike:
        SetStyleBit(m->Style, rtffsStrikeOut, p != 0);
        break;
    case ipPnCf:
        m->Color = ColorAt(p, m->Color);
        m->FixedColor = true;
        break;
    case ipPnF:
        m->FontIndex = FindFont(p);
        m->FixedFont = true;
        break;
    case ipPnFs:
        m->Size = HalfPoints(p);
        m->FixedSize = true;
        break;
    case ipPnIndent:
        m->Indent = IndentTwips(p);
        break;
    case ipPnSp:
        m->Space = IndentTwips(p);
        break;
    case ipPnStart:
        m->Start = L::ListStart(p);
        break;
    case ipPnAlign:
        m->Alignment = p;
        break;
    default:
        break;
    }
}

void TRPRTFReader::ApplyList(int prop, int p) {
    const auto d = fState->Dest;
    if (d == rdsList && !fLists.empty()) {
        if (prop == ipListId)
            fLists.back().Id = p;
        else if (prop == ipListSimple)
            fLists.back().Simple = p != 0;
        return;
    }
    if (d == rdsListLevel && !fLists.empty() && !fLists.back().Levels.empty()) {
        auto& lvl = fLists.back().Levels.back();
        switch (prop) {
        case ipLevelNfc:
            lvl.Kind = p == 1 ? 5 : p == 2 ? 4 : p == 3 ? 3 : p == 4 ? 2 : p == 23 ? 6 : 1;
            break;
        case ipLevelJc:
            lvl.Alignment = p == 1 ? 2 : p == 2 ? 1 : 0;
            break;
        case ipLevelStartAt:
            lvl.Start = L::ListStart(p);
            break;
        case ipLevelIndent:
            lvl.Indent = IndentTwips(p);
            break;
        case ipLevelSpace:
            lvl.Space = IndentTwips(p);
            break;
        case ipLevelOld:
            lvl.Old = p != 0;
            break;
        case ipLevelLegal:
            lvl.Legal = p != 0;
            break;
        case ipLevelNoRestart:
            lvl.NoRestart = p != 0;
            break;
        case ipLevelFollow:
            lvl.Follow = p;
            break;
        case ipFontSize:
            lvl.Size = HalfPoints(p);
            lvl.SizeGiven = true;
            lvl.FixedSize = true;
            break;
        case ipColor:
            lvl.Color = ColorAt(p, lvl.Color);
            lvl.FixedColor = true;
            break;
        case ipFont:
            lvl.FontIndex = FindFont(p);
            lvl.FixedFont = true;
            break;
        case ipBold:
            SetStyleBit(lvl.Style, rtffsBold, p != 0);
            break;
        case ipItalic:
            SetStyleBit(lvl.Style, rtffsItalic, p != 0);
            break;
        case ipUnderline:
            SetStyleBit(lvl.Style, rtffsUnderline, p != 0);
            break;
        case ipStrike:
            SetStyleBit(lvl.Style, rtffsStrikeOut, p != 0);
            break;
        case ipLeftInd:
            lvl.LeftIndent = IndentTwips(p);
            break;
        case ipFirstInd:
            lvl.FirstIndent = IndentTwips(p);
            break;
        case ipTx:
            lvl.Tab = IndentTwips(p);
            break;
        default:
            break;
        }
        return;
    }
    if (d == rdsLO && !fOverrides.empty()) {
        auto& lo = fOverrides.back();
        if (prop == ipListId) {
            lo.ListIndex = -1;
            for (size_t i = 0; i < fLists.size(); ++i)
                if (fLists[i].Id == p) {
                    lo.ListIndex = static_cast<int>(i);
                    break;
                }
        } else if (prop == ipLs) {
            lo.Number = p;
        } else if (prop == ipLOCount) {
            lo.Count = p;
        }
        return;
    }
    if (d == rdsLOLevel && !fOverrides.empty() && !fOverrides.back().Levels.empty()) {
        auto& lvl = fOverrides.back().Levels.back();
        if (prop == ipLOStartAt)
            lvl.UseStart = p != 0;
        else if (prop == ipLevelStartAt)
            lvl.Start = L::ListStart(p);
    }
}
