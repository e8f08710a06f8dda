// Checkpoints under editing: a kept checkpoint survives the deletion of its
// item, an emptied line keeps the checkpoint of what stood there, and undo
// gives every checkpoint back to its own item.
#include <gtest/gtest.h>

#include <QImage>

#include "EditTestSupport.h"
#include "platform/Keys.h"
#include "platform/Pictures.h"

namespace {

// Adds a text item; Para -1 continues the paragraph. With a name, the item
// gets a checkpoint of that name, kept on deletion when Kept is set.
void Add(TEditFixture& f, const std::string& Text, int StyleNo, int Para, const std::string& CP = {},
         bool Kept = false) {
    TCustomRPData* d = f.Edit->RPData();
    if (!CP.empty()) d->AddCheckpoint(CP, false, TRPTag{});
    d->AddText(Text, StyleNo, Para);
    if (!CP.empty()) d->GetItemCheckpoint(d->GetItemCount() - 1)->Persistent = Kept;
}

// "item:name" for every checkpoint, walking the chain; the chain, the
// items' own pointers and the count must agree.
std::string Checkpoints(const TCustomRPData& d) {
    std::string out;
    int n = 0;
    for (const TRPCPInfo* cp = d.FirstCP; cp; cp = cp->Next, ++n) {
        int item = -1;
        for (int i = 0; i < d.GetItemCount(); ++i)
            if (d.GetItem(i)->Checkpoint.get() == cp) item = i;
        if (item < 0 || cp->ItemInfo != d.GetItem(item)) return "broken chain";
        out += (out.empty() ? "" : " ") + std::to_string(item) + ":" + cp->Name + (cp->Persistent ? "!" : "");
    }
    int attached = 0;
    for (int i = 0; i < d.GetItemCount(); ++i)
        attached += d.GetItem(i)->Checkpoint ? 1 : 0;
    if (attached != n || d.CPCount != n) return "count " + std::to_string(d.CPCount) + "/" + std::to_string(n);
    return out;
}

} // namespace

TEST(EditCheckpoint, AKeptCheckpointInADeletedSelectionMovesToItsStart) {
    TEditFixture f;
    f.Edit->Clear();
    Add(f, "abc", 0, 0);
    Add(f, "def", 1, -1, "mark", true);
    Add(f, "ghi", 0, -1);
    f.Edit->Format();
    const std::string before = SaveRPF(*f.Edit);
    f.Select(0, 2, 2, 2);
    f.Key(VK_DELETE);
    EXPECT_EQ(PlainText(*f.Data()), "ahi");
    EXPECT_EQ(Checkpoints(*f.Data()), "0:mark!");
    f.Edit->Undo();
    EXPECT_EQ(SaveRPF(*f.Edit), before);
    EXPECT_EQ(Checkpoints(*f.Data()), "1:mark!");
    f.Edit->Redo();
    EXPECT_EQ(Checkpoints(*f.Data()), "0:mark!");

    // A selection that starts at a whole item continuing the line hands it
    // to the item before.
    f.Edit->Clear();
    Add(f, "abc", 0, 0);
    Add(f, "def", 1, -1, "mark", true);
    Add(f, "ghi", 0, -1);
    f.Edit->Format();
    f.Select(1, 1, 1, 4);
    f.Key(VK_DELETE);
    EXPECT_EQ(PlainText(*f.Data()), "abcghi");
    EXPECT_EQ(Checkpoints(*f.Data()), "0:mark!");

    // An ordinary checkpoint goes with its text and comes back with undo.
    f.Edit->Clear();
    Add(f, "abc", 0, 0);
    Add(f, "def", 1, -1, "plain");
    Add(f, "ghi", 0, -1);
    f.Edit->Format();
    f.Select(0, 2, 2, 2);
    f.Key(VK_DELETE);
    EXPECT_EQ(Checkpoints(*f.Data()), "");
    f.Edit->Undo();
    EXPECT_EQ(Checkpoints(*f.Data()), "1:plain");
}

TEST(EditCheckpoint, AKeptCheckpointRefusesJoiningItsParagraph) {
    TEditFixture f;
    f.Edit->Clear();
    Add(f, "abc", 0, 0);
    Add(f, "def", 0, 0, "mark", true);
    f.Edit->Format();
    const std::string before = SaveRPF(*f.Edit);
    f.Select(0, 2, 1, 2);
    f.Key(VK_DELETE);
    EXPECT_EQ(SaveRPF(*f.Edit), before);
    EXPECT_FALSE(f.Edit->CanUndo());
    // The kept checkpoint in the paragraph after the selection holds too.
    f.Edit->Clear();
    Add(f, "abc", 0, 0);
    Add(f, "def", 0, 0);
    Add(f, "ghi", 1, -1, "mark", true);
    f.Edit->Format();
    f.Select(0, 2, 1, 2);
    f.Key(VK_DELETE);
    EXPECT_EQ(PlainText(*f.Data()), "abc\ndefghi");
}

TEST(EditCheckpoint, BackspaceKeepsCheckpointsOfWhatItRemoves) {
    TEditFixture f;
    // A picture alone in its paragraph becomes an empty line with its checkpoint.
    f.Edit->Clear();
    Add(f, "abc", 0, 0);
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::red);
    f.Edit->RPData()->AddCheckpoint("pic", false, TRPTag{});
    f.Edit->AddPicture("p", std::make_unique<TBitmap>(image), 0, 0);
    Add(f, "xyz", 0, 0);
    f.Edit->Format();
    f.Caret(1, 1);
    f.Key(VK_BACK);
    EXPECT_EQ(PlainText(*f.Data()), "abc\n\nxyz");
    EXPECT_EQ(Checkpoints(*f.Data()), "1:pic");
    f.Edit->Undo();
    EXPECT_EQ(f.Data()->GetItemStyle(1), rpsnPicture);
    EXPECT_EQ(Checkpoints(*f.Data()), "1:pic");

    // A one-character item inside a line: its kept checkpoint moves on to
    // the next item (which, holding a checkpoint, stays an item of its own).
    f.Edit->Clear();
    Add(f, "ab", 0, 0);
    Add(f, "c", 1, -1, "mark", true);
    Add(f, "de", 0, -1);
    f.Edit->Format();
    f.Caret(1, 2);
    f.Key(VK_BACK);
    EXPECT_EQ(PlainText(*f.Data()), "abde");
    EXPECT_EQ(Checkpoints(*f.Data()), "1:mark!");
    EXPECT_EQ(f.CaretPos(), "0:3");
    f.Edit->Undo();
    EXPECT_EQ(PlainText(*f.Data()), "abcde");
    EXPECT_EQ(Checkpoints(*f.Data()), "1:mark!");
}

TEST(EditCheckpoint, EnterAtAParagraphStartMovesItsCheckpointToTheNewParagraph) {
    TEditFixture f;
    f.Edit->Clear();
    Add(f, "abc", 0, 0, "start");
    f.Edit->Format();
    f.Caret(0, 1);
    f.Key(VK_RETURN);
    EXPECT_EQ(PlainText(*f.Data()), "\nabc");
    EXPECT_EQ(Checkpoints(*f.Data()), "0:start");
    f.Edit->Undo();
    EXPECT_EQ(Checkpoints(*f.Data()), "0:start");
    EXPECT_EQ(PlainText(*f.Data()), "abc");
}

TEST(EditCheckpoint, AnItemInsertedBeforeAKeptCheckpointLeavesItAParagraphOfItsOwn) {
    TEditFixture f;
    f.Edit->Clear();
    Add(f, "abc", 0, 0);
    Add(f, "def", 1, -1, "mark", true);
    f.Edit->Format();
    f.Caret(0, 4);
    ASSERT_TRUE(
        f.Edit->InsertPicture("bild", std::make_unique<TBitmap>(QImage(20, 10, QImage::Format_RGB32)), 0));
    EXPECT_EQ(f.Data()->GetItemCount(), 3);
    EXPECT_TRUE(f.Data()->GetItem(1)->GetContinuesPrev());
    EXPECT_TRUE(f.Data()->GetItem(2)->StartsPara());
    EXPECT_EQ(Checkpoints(*f.Data()), "2:mark!");
    f.Edit->Undo();
    EXPECT_EQ(PlainText(*f.Data()), "abcdef");
}
