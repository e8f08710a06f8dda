// The page view of the section forms: the page's RTF file is shown read-only,
// stepping loads the next file, pictures sit in the middle of their line, and
// a missing file shows an empty page without a message.
#include "ShellTestHelfer.h"
#include "support/FormDriver.h"
#include "platform/Paths.h"
#include "richtext/model/RPItem.h"
#include "richtext/model/RPItemNonText.h"
#include "richtext/view/RichPad.h"
#include "shell/UAbschnitte.h"

#include <gtest/gtest.h>

namespace {

class PageView : public ::testing::Test {
protected:
    void SetUp() override {
        ShellFormenEinrichten();
        Anwendungsverzeichnis = GetCurrentDir();
        Form = std::make_unique<TKxNav>(Application());
        Form->SeitenEinrichten();
    }
    std::unique_ptr<TKxNav> Form;
};

} // namespace

TEST_F(PageView, ShowsThePageAndStepsToTheNextFile) {
    Form->Seite[1].Datei = QStringLiteral("Zqk1\\ZqK1_3A.rtf");
    Form->Seite[2].Datei = QStringLiteral("Zqk1\\ZqK1_3B.rtf");
    Form->Seitenanzahl = 2;
    Form->AktSeite = 1;
    Form->SeiteAnzeigen();
    TCustomRichPad* View = Form->Webbrowserx;
    ASSERT_GT(View->ItemCount(), 20);
    const std::string first = View->GetItemText(0);
    // The view is formatted: every item has its draw items.
    EXPECT_GT(View->RPData()->DrawItemCount(), 20);
    EXPECT_GT(View->GetDocumentHeight(), 200);
    Form->SpeedButton5->Click();
    EXPECT_EQ(Form->AktSeite, 2);
    EXPECT_TRUE(Form->SeitenPfad().endsWith(QStringLiteral("ZqK1_3B.rtf")));
    ASSERT_GT(View->ItemCount(), 20);
    EXPECT_NE(View->GetItemText(0), first);
    EXPECT_EQ(View->VPos, 0);
}

TEST_F(PageView, PicturesSitInTheMiddleOfTheirLine) {
    Form->Seite[1].Datei = QStringLiteral("Zqk1\\ZqK1_3A.rtf");
    Form->SeiteAnzeigen();
    TCustomRichPad* View = Form->Webbrowserx;
    int pictures = 0;
    for (int i = 0; i < View->ItemCount(); ++i) {
        if (View->GetItemStyle(i) != rpsnPicture) continue;
        ++pictures;
        auto* g = static_cast<TRPGraphicItemInfo*>(View->GetItem(i));
        EXPECT_EQ(g->VAlign, 1);
        int shift = 0;
        EXPECT_TRUE(View->GetItemExtraIntProperty(i, rpeipVShift, shift));
        EXPECT_EQ(shift, 20);
    }
    EXPECT_GT(pictures, 0);
}

TEST_F(PageView, AMissingFileShowsAnEmptyPageQuietly) {
    DialogResponder Antwort;
    Form->Seite[1].Datei = QStringLiteral("Zqk1\\ZqK1_3A.rtf");
    Form->SeiteAnzeigen();
    ASSERT_GT(Form->Webbrowserx->ItemCount(), 0);
    Form->Seite[1].Datei = QStringLiteral("Zqk1\\Gibt_es_nicht.rtf");
    Form->SeiteAnzeigen();
    // The page view is an editor: an empty document keeps one empty line.
    ASSERT_EQ(Form->Webbrowserx->ItemCount(), 1);
    EXPECT_EQ(Form->Webbrowserx->GetItemText(0), "");
    EXPECT_TRUE(Form->SeitenPfad().isEmpty());
    EXPECT_EQ(Form->Webbrowserx->RPData()->DrawItemCount(), 1);
    EXPECT_TRUE(Antwort.Questions().empty());
}

TEST_F(PageView, SectionFormsShowTheirPageOnActivation) {
    int Items = -1;
    ModalBeobachter b([&](TForm* f) {
        if (auto* n = dynamic_cast<TKxNav*>(f)) Items = n->Webbrowserx->ItemCount();
        f->Close();
    });
    KxNav->AktSeite = 1;
    ASSERT_TRUE(AbschnittOeffnen(QStringLiteral("TZqK1_3")));
    EXPECT_GT(Items, 20);
}
