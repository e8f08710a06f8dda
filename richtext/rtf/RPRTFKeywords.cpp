#include "richtext/rtf/RPRTFKeywords.h"

#include <array>
#include <cstdint>

namespace RPRTFKw {

namespace {

constexpr Entry C(std::string_view k, int ch) {
    return {k, ch, true, kwChar, ch, cgNone};
}
constexpr Entry U(std::string_view k, int code, int fallback) {
    return {k, code, true, kwUChar, fallback, cgNone};
}
constexpr Entry D(std::string_view k, DestWord d) {
    return {k, 0, false, kwDest, d, cgNone};
}
constexpr Entry S(std::string_view k, Special s) {
    return {k, 0, false, kwSpec, s, cgNone};
}
// A property with a default used when no parameter is written.
constexpr Entry P(std::string_view k, Prop p, int def = 0, ChangeGroup g = cgNone) {
    return {k, def, false, kwProp, p, g};
}
// A property whose value is fixed by the word itself.
constexpr Entry F(std::string_view k, Prop p, int value, ChangeGroup g = cgNone) {
    return {k, value, true, kwProp, p, g};
}

constexpr ChangeGroup CH = cgChar;
constexpr ChangeGroup PA = cgPara;

const Entry kTable[] = {
    D("object", dwObject),
    F("objemb", ipObjKind, 0),
    F("objlink", ipObjKind, 1),
    F("objautlink", ipObjKind, 2),
    F("objsub", ipObjKind, 3),
    F("objpub", ipObjKind, 4),
    F("objicemb", ipObjKind, 5),
    F("objhtml", ipObjKind, 6),
    F("objocx", ipObjKind, 7),
    P("objh", ipObjH),
    P("objw", ipObjW),
    D("objdata", dwObjData),
    D("result", dwResult),
    D("shppict", dwShpPict),
    D("nonshppict", dwNonShpPict),
    D("shp", dwShp),
    D("shpgrp", dwShp),
    D("shpinst", dwShpInst),
    D("sp", dwShpProp),
    D("sn", dwShpPropName),
    D("sv", dwShpPropValue),
    D("shptxt", dwShpText),
    D("shprslt", dwShpRslt),
    P("b", ipBold, 1, CH),
    P("ul", ipUnderline, 1, CH),
    F("ulnone", ipUnderline, 0, CH),
    P("i", ipItalic, 1, CH),
    P("strike", ipStrike, 1, CH),
    P("fs", ipFontSize, 24, CH),
    P("lang", ipLang, 0, CH),
    P("deflang", ipDefLang),
    P("cf", ipColor, 0, CH),
    P("chcbpat", ipBackColor, 0, CH),
    P("cbpat", ipShadingFill, 0, PA),
    P("cfpat", ipShadingPattern, 0, PA),
    P("shading", ipShading, 0, PA),
    P("li", ipLeftInd, 0, PA),
    P("ri", ipRightInd, 0, PA),
    P("fi", ipFirstInd, 0, PA),
    P("plain", ipPlain, 0, CH),
    P("u", ipU),
    P("uc", ipUC, 1),
    P("cols", ipCols, 1),
    F("sbknone", ipSbk, 0),
    F("sbkcol", ipSbk, 1),
    F("sbkeven", ipSbk, 2),
    F("sbkodd", ipSbk, 3),
    F("sbkpage", ipSbk, 4),
    P("pgnx", ipPgnX),
    P("pgny", ipPgnY),
    F("pgndec", ipPgnFmt, 0),
    F("pgnucrm", ipPgnFmt, 1),
    F("pgnlcrm", ipPgnFmt, 2),
    F("pgnucltr", ipPgnFmt, 3),
    F("pgnlcltr", ipPgnFmt, 4),
    F("qc", ipAlign, 2, PA),
    F("ql", ipAlign, 0, PA),
    F("qr", ipAlign, 1, PA),
    F("qj", ipAlign, 3, PA),
    P("paperw", ipPaperW, 12240),
    P("paperh", ipPaperH, 15480),
    P("margl", ipMargL, 1800),
    P("margr", ipMargR, 1800),
    P("margt", ipMargT, 1440),
    P("margb", ipMargB, 1440),
    P("headery", ipHeaderY, 720),
    P("footery", ipFooterY, 720),
    P("pgnstart", ipPgnStart, 1),
    P("facingp", ipFacingP, 1),
    P("landscape", ipLandscape, 1),
    C("par", 10),
    // A section ends its last paragraph too: the text after it is another one.
    C("sect", 10),
    F("cell", ipCell, 0),
    F("row", ipRow, 0),
    F("nestcell", ipCell, 1),
    F("nestrow", ipRow, 1),
    D("nesttableprops", dwNestTableProps),
    P("intbl", ipIntbl, 0, PA),
    P("itap", ipItap, 1, PA),
    D("nonesttables", dwSkip),
    P("pard", ipPard, 0, PA),
    C("\n", 10),
    C("\r", 10),
    C("line", 13),
    C("tab", 9),
    C("~", 160),
    C("bullet", 149),
    U("ldblquote", 8220, '"'),
    U("rdblquote", 8221, '"'),
    U("lquote", 8216, '\''),
    U("rquote", 8217, '\''),
    U("endash", 8211, '-'),
    U("emdash", 8212, '-'),
    // The non-breaking hyphen keeps its hyphen: U+2011, or "-" in 8-bit text.
    U("_", 8209, '-'),
    S("bin", spBin),
    S("*", spSkipDest),
    S("'", spHex),
    D("author", dwSkip),
    D("buptim", dwSkip),
    D("colortbl", dwColorTbl),
    D("comment", dwSkip),
    D("creatim", dwSkip),
    D("doccomm", dwSkip),
    D("fonttbl", dwFontTbl),
    D("footer", dwFooter),
    D("footerf", dwSkip),
    D("footerl", dwSkip),
    D("footerr", dwSkip),
    D("footnote", dwSkip),
    D("ftncn", dwSkip),
    D("ftnsep", dwSkip),
    D("ftnsepc", dwSkip),
    D("header", dwHeader),
    D("headerf", dwSkip),
    D("headerl", dwSkip),
    D("headerr", dwSkip),
    D("info", dwSkip),
    D("keywords", dwSkip),
    D("operator", dwSkip),
    D("printim", dwSkip),
    D("private1", dwSkip),
    D("revtim", dwSkip),
    D("rxe", dwSkip),
    D("stylesheet", dwStyleSheet),
    D("subject", dwSkip),
    D("tc", dwSkip),
    D("title", dwSkip),
    D("txe", dwSkip),
    D("xe", dwSkip),
    D("pict", dwPict),
    C("{", '{'),
    C("}", '}'),
    C("\\", '\\'),
    P("sectd", ipSectd),
    P("charscalex", ipCharScaleX, 100, CH),
    P("expndtw", ipExpndTw, 0, CH),
    P("caps", ipCaps, 1, CH),
    P("sub", ipSub, 0, CH),
    P("super", ipSuper, 0, CH),
    P("nosupersub", ipNoSuperSub, 0, CH),
    P("f", ipFont, 0, CH),
    P("sb", ipSpaceBefore, 0, PA),
    P("sa", ipSpaceAfter, 0, PA),
    P("red", ipRed),
    P("green", ipGreen),
    P("blue", ipBlue),
    F("fnil", ipFontFamily, 0),
    F("froman", ipFontFamily, 1),
    F("fswiss", ipFontFamily, 2),
    F("fmodern", ipFontFamily, 3),
    F("fscript", ipFontFamily, 4),
    F("fdecor", ipFontFamily, 5),
    F("ftech", ipFontFamily, 6),
    F("fbidi", ipFontFamily, 7),
    P("fcharset", ipFCharset),
    P("v", ipHidden, 1),
    P("s", ipStyleS),
    P("cs", ipStyleCS),
    P("ds", ipStyleDS),
    P("sbasedon", ipSBasedOn),
    P("snext", ipSNext),
    P("additive", ipAdditive),
    P("shidden", ipSHidden),
    P("deff", ipDefF),
    P("sl", ipSL, 240, PA),
    P("slmult", ipSLMult, 1, PA),
    F("brdrs", ipBrdrStyle, 1, PA),
    F("brdrth", ipBrdrStyle, 2, PA),
    F("brdrsh", ipBrdrStyle, 3, PA),
    F("brdrdb", ipBrdrStyle, 4, PA),
    F("brdrdot", ipBrdrStyle, 5, PA),
    F("brdrdash", ipBrdrStyle, 6, PA),
    F("brdrhair", ipBrdrStyle, 7, PA),
    F("brdrdashsm", ipBrdrStyle, 8, PA),
    F("brdrdashd", ipBrdrStyle, 9, PA),
    F("brdrdashdd", ipBrdrStyle, 10, PA),
    F("brdrtriple", ipBrdrStyle, 11, PA),
    F("brdrtnthsg", ipBrdrStyle, 12, PA),
    F("brdrthtnsg", ipBrdrStyle, 13, PA),
    F("brdrtnthtnsg", ipBrdrStyle, 14, PA),
    F("brdrtnthmg", ipBrdrStyle, 15, PA),
    F("brdrthtnmg", ipBrdrStyle, 16, PA),
    F("brdrtnthtnmg", ipBrdrStyle, 17, PA),
    F("brdrtnthlg", ipBrdrStyle, 18, PA),
    F("brdrthtnlg", ipBrdrStyle, 19, PA),
    F("brdrtnthtnlg", ipBrdrStyle, 20, PA),
    F("brdrwavy", ipBrdrStyle, 21, PA),
    F("brdrwavydb", ipBrdrStyle, 22, PA),
    F("brdrdashdotstr", ipBrdrStyle, 23, PA),
    F("brdremboss", ipBrdrStyle, 24, PA),
    F("brdrengrave", ipBrdrStyle, 25, PA),
    F("brdrinset", ipBrdrStyle, 26, PA),
    F("brdroutset", ipBrdrStyle, 27, PA),
    F("brdrl", ipBrdrSide, 0, PA),
    F("brdrt", ipBrdrSide, 1, PA),
    F("brdrr", ipBrdrSide, 2, PA),
    F("brdrb", ipBrdrSide, 3, PA),
    P("brdrw", ipBrdrW, 0, PA),
    P("brdrcf", ipBrdrCf, 0, PA),
    P("brsp", ipBrsp, 0, PA),
    P("picw", ipPicW),
    P("pich", ipPicH),
    P("picwgoal", ipPicWGoal),
    P("pichgoal", ipPicHGoal),
    P("picscalex", ipPicScaleX, 100),
    P("picscaley", ipPicScaleY, 100),
    P("wbmbitspixel", ipWbmBitsPixel, 1),
    P("wbmplanes", ipWbmPlanes, 1),
    P("wbmwidthbytes", ipWbmWidthBytes),
    F("emfblip", ipPicKind, 0),
    F("pngblip", ipPicKind, 1),
    F("jpegblip", ipPicKind, 2),
    F("macpict", ipPicKind, 3),
    F("pmmetafile", ipPicKind, 4),
    F("dibitmap", ipPicKind, 6),
    F("wbitmap", ipPicKind, 7),
    P("wmetafile", ipWMetafile, 1),
    P("picbmp", ipPicBmp, 1),
    P("ansicpg", ipAnsiCpg),
    P("page", ipPage),
    D("field", dwField),
    D("fldinst", dwFldInst),
    D("fldrslt", dwFldRslt),
    P("trowd", ipTrowd),
    F("trql", ipTrAlign, 0),
    F("trqr", ipTrAlign, 1),
    F("trqc", ipTrAlign, 2),
    P("trhdr", ipTrHdr),
    P("trgaph", ipTrGapH),
    P("trleft", ipTrLeft),
    P("trrh", ipTrRH),
    P("trpaddl", Prop(ipTrPadd + 0)),
    P("trpaddr", Prop(ipTrPadd + 2)),
    P("trpaddt", Prop(ipTrPadd + 1)),
    P("trpaddb", Prop(ipTrPadd + 3)),
    P("trpaddfl", Prop(ipTrPaddF + 0)),
    P("trpaddfr", Prop(ipTrPaddF + 2)),
    P("trpaddft", Prop(ipTrPaddF + 1)),
    P("trpaddfb", Prop(ipTrPaddF + 3)),
    P("trspdl", Prop(ipTrSpd + 0)),
    P("trspdr", Prop(ipTrSpd + 2)),
    P("trspdt", Prop(ipTrSpd + 1)),
    P("trspdb", Prop(ipTrSpd + 3)),
    P("trspdfl", Prop(ipTrSpdF + 0)),
    P("trspdfr", Prop(ipTrSpdF + 2)),
    P("trspdft", Prop(ipTrSpdF + 1)),
    P("trspdfb", Prop(ipTrSpdF + 3)),
    P("trwWidth", ipTrwWidth),
    P("trftsWidth", ipTrftsWidth),
    F("clvmrg", ipClVMerge, 2),
    F("clvmgf", ipClVMerge, 1),
    F("clmrg", ipClHMerge, 2),
    F("clmgf", ipClHMerge, 1),
    P("clwWidth", ipClwWidth),
    P("clftsWidth", ipClftsWidth),
    P("clcbpat", ipClCbPat),
    P("clcfpat", ipClCfPat),
    P("clshdng", ipClShdng),
    F("clvertalt", ipClVertAl, 0),
    F("clvertalc", ipClVertAl, 2),
    F("clvertalb", ipClVertAl, 1),
    P("cellx", ipCellX),
    F("trbrdrl", ipTrBrdr, 0),
    F("trbrdrt", ipTrBrdr, 1),
    F("trbrdrr", ipTrBrdr, 2),
    F("trbrdrb", ipTrBrdr, 3),
    F("clbrdrl", ipClBrdr, 0),
    F("clbrdrt", ipClBrdr, 1),
    F("clbrdrr", ipClBrdr, 2),
    F("clbrdrb", ipClBrdr, 3),
    P("absnoovrlp", ipAbsNoOvrlp, 1, PA),
    P("highlight", ipHighlight, 0, CH),
    P("pnseclvl", ipPnSecLvl),
    D("pntext", dwSkip),
    D("pn", dwPN),
    P("pnlvl", ipPnLvl),
    F("pnlvlblt", ipPnLvl, 11),
    F("pnlvlbody", ipPnLvl, 10),
    P("pnlvlcont", ipPnLvlCont),
    P("pnhang", ipPnHang, 1),
    F("pndec", ipPnKind, 1),
    F("pnucltr", ipPnKind, 3),
    F("pnucrm", ipPnKind, 5),
    F("pnlcltr", ipPnKind, 2),
    F("pnlcrm", ipPnKind, 4),
    P("pnuldash", ipPnUl, 1),
    P("pnuldashd", ipPnUl, 1),
    P("pnuldashdd", ipPnUl, 1),
    P("pnulhair", ipPnUl, 1),
    P("pnulth", ipPnUl, 1),
    P("pnulwave", ipPnUl, 1),
    P("pnul", ipPnUl, 1),
    P("pnuld", ipPnUl, 1),
    P("pnuld", ipPnUl, 1), // listed twice on purpose; a lookup finds either, both act alike
    P("pnuldb", ipPnUl, 1),
    P("pnulw", ipPnUl, 1),
    F("pnulnone", ipPnUl, 0),
    P("pnb", ipPnB, 1),
    P("pni", ipPnI, 1),
    P("pnstrike", ipPnStrike, 1),
    P("pncf", ipPnCf),
    P("pnf", ipPnF),
    P("pnfs", ipPnFs, 24),
    P("pnindent", ipPnIndent),
    P("pnsp", ipPnSp),
    F("pnqc", ipPnAlign, 2),
    F("pnql", ipPnAlign, 0),
    F("pnqr", ipPnAlign, 1),
    P("pnstart", ipPnStart, 1),
    D("pntxta", dwPNTxtA),
    D("pntxtb", dwPNTxtB),
    D("listtext", dwSkip),
    D("listtable", dwListTable),
    D("list", dwList),
    P("listid", ipListId),
    P("listsimple", ipListSimple, 1),
    D("listname", dwListName),
    D("listlevel", dwListLevel),
    P("levelstartat", ipLevelStartAt, 1),
    P("levelnfc", ipLevelNfc),
    P("leveljc", ipLevelJc),
    P("levelold", ipLevelOld, 1),
    P("levelindent", ipLevelIndent),
    P("levelspace", ipLevelSpace),
    D("leveltext", dwLevelText),
    D("levelnumbers", dwLevelNumbers),
    P("levelfollow", ipLevelFollow),
    P("levellegal", ipLevelLegal, 1),
    P("levelnorestart", ipLevelNoRestart, 1),
    D("listoverridetable", dwLOTable),
    D("listoverride", dwLO),
    P("listoverridecount", ipLOCount),
    D("lfolevel", dwLOLevel),
    P("listoverridestartat", ipLOStartAt, 1),
    P("ls", ipLs, 1, PA),
    P("ilvl", ipIlvl, 1, PA),
    P("tx", ipTx, 0, PA),
    P("richpadcbw", ipRichPadCbw),
    P("richpadcbh", ipRichPadCbh),
    P("richpadtbw", ipRichPadTbw),
    P("richpadtbnew", ipRichPadTbNew),
    P("richpadtbhs", ipRichPadTbHs),
    P("richpadtbvs", ipRichPadTbVs),
    P("richpadtchs", ipRichPadTcHs),
    P("richpadtcvs", ipRichPadTcVs),
};

constexpr size_t kCount = sizeof(kTable) / sizeof(kTable[0]);

// An open-addressing hash table of the keywords, at most a quarter full, so
// that a look-up costs one hash and nearly always one comparison. Entries go in
// in stored order: of two equal keywords the first is found.
constexpr size_t kSlots = 2048;
static_assert(kCount * 4 <= kSlots, "the keyword table must stay sparse");

size_t Hash(std::string_view keyword) {
    uint32_t h = 2166136261u;
    for (char c : keyword)
        h = (h ^ static_cast<uint8_t>(c)) * 16777619u;
    return h & (kSlots - 1);
}

const std::array<const Entry*, kSlots>& Slots() {
    static const std::array<const Entry*, kSlots> slots = [] {
        std::array<const Entry*, kSlots> a{};
        for (const Entry& e : kTable) {
            size_t i = Hash(e.Keyword);
            while (a[i])
                i = (i + 1) & (kSlots - 1);
            a[i] = &e;
        }
        return a;
    }();
    return slots;
}

} // namespace

const Entry* Find(std::string_view keyword) {
    const auto& slots = Slots();
    for (size_t i = Hash(keyword);; i = (i + 1) & (kSlots - 1)) {
        const Entry* e = slots[i];
        if (!e || e->Keyword == keyword) return e;
    }
}

int Count() {
    return static_cast<int>(kCount);
}

const Entry& At(int index) {
    return kTable[static_cast<size_t>(index)];
}

} // namespace RPRTFKw
