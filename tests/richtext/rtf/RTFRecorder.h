#pragma once
// A reader sink for tests: every event as one line of text.
#include "richtext/rtf/RPRTFReader.h"

#include <QBuffer>
#include <string>
#include <vector>

struct RTFRecorder {
    std::vector<std::string> Events;
    std::vector<std::string> PictureData;
    bool Unicode = false;
    bool Pictures = false;
    bool InsertPictures = true;
    bool Markers = false;
    bool PageBreaks = false;
    bool Objects = false;

    static std::string Hex(const std::u16string& s) {
        std::string out;
        char buf[8];
        for (char16_t c : s) {
            std::snprintf(buf, sizeof buf, "%s%04X", out.empty() ? "" : " ", static_cast<unsigned>(c));
            out += buf;
        }
        return out;
    }

    void Hook(TRPRTFReader& r) {
        r.OnNewText = [this](TRPRTFReader*, const std::string& t, TRPRTFPosition p) {
            Events.push_back("T" + std::to_string(p) + ":" + t);
        };
        if (Unicode)
            r.OnNewUnicodeText = [this](TRPRTFReader*, const std::u16string& t, TRPRTFPosition p) {
                Events.push_back("U" + std::to_string(p) + ":" + Hex(t));
            };
        if (Pictures)
            r.OnNewPicture = [this](TRPRTFReader*, TRPRTFPicture* pic, TRPRTFGraphicPtr&, TRPRTFPosition p,
                                    bool& inserted) {
                Events.push_back("P" + std::to_string(p) + ":" + (pic ? std::to_string(pic->Kind) : "field"));
                PictureData.push_back(pic ? pic->Data : std::string());
                inserted = InsertPictures;
            };
        if (Markers) r.OnUpdateMarker = [this](TRPRTFReader*) { Events.push_back("M"); };
        if (PageBreaks) r.OnRequiredPageBreak = [this](TRPRTFReader*) { Events.push_back("PB"); };
        if (Objects)
            r.OnNewObject = [this](TRPRTFReader*, TRPRTFObject* o, TRPRTFPosition p, bool& inserted) {
                Events.push_back("O" + std::to_string(p) + ":" + std::to_string(o->Data.size()));
                inserted = true;
            };
        r.OnTable = [this](TRPRTFReader*, TRPRTFTableEventKind k) {
            static const char* names[] = {"TS", "TE", "RE", "CE"};
            Events.push_back(names[k]);
        };
    }

    // All text of the events, in order.
    std::string Text() const {
        std::string s;
        for (const auto& e : Events)
            if (e[0] == 'T' && e.size() > 2 && e[2] == ':') s += e.substr(3);
        return s;
    }
};

inline uint8_t ReadRTF(TRPRTFReader& r, const std::string& rtf) {
    return r.ReadFromBuffer(rtf.data(), rtf.size());
}

inline uint8_t Record(RTFRecorder& rec, const std::string& rtf) {
    TRPRTFReader r;
    rec.Hook(r);
    return ReadRTF(r, rtf);
}
