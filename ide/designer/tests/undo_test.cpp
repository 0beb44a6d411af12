// The undo step: what a recording keeps and which slot an undo restores.
#include <gtest/gtest.h>

#include "dsg_formdata.h"
#include "dsg_undo.h"
#include "fake_host.h"

namespace dsg {
namespace {

TEST(Undo, RecordsSelectionOrTheFormAndRestores) {
    test::FakeHost host;
    Document doc;
    Form *form = FrmCreateNew(host, doc, "MAINFORM", true);
    std::vector<uint32_t> sel;
    for (int i = 0; i < 3; ++i) sel.push_back(CtlCreate(host, doc, *form, kButton, 10 * i, 5 * i, false)->hwnd);
    UndoBuffer u;
    EXPECT_EQ(u.Current(&doc), -1);
    ASSERT_TRUE(u.Record(kUndoAlign, &doc, form, sel, ""));
    EXPECT_EQ(u.slots[0].snapshot.size(), 3u);
    for (size_t i = 1; i < form->table.size(); ++i) form->table[i].x = 99;
    EXPECT_EQ(u.Current(&host), -1) << "another document";
    ASSERT_EQ(u.Current(&doc), 0);
    ASSERT_TRUE(UndoWriteBack(*form, u.slots[0]));
    EXPECT_EQ(form->table[1].x, 0);
    EXPECT_EQ(form->table[3].x, 20);

    ASSERT_TRUE(u.Record(kUndoText, &doc, form, {}, "OLD"));
    EXPECT_EQ(u.slots[0].snapshot.size(), 1u);
    EXPECT_EQ(u.slots[0].snapshot[0].kind, uint32_t(kForm));
    EXPECT_EQ(u.slots[0].text, "OLD");
    u.SetKind(1, sel[1]);
    EXPECT_EQ(u.slots[0].target, sel[1]);

    // Undo keeps the present state in slot 1.
    ASSERT_TRUE(u.Record(kUndoText, &doc, form, {}, "NOW", 1));
    EXPECT_EQ(u.current, 1);
    EXPECT_EQ(u.slots[0].text, "OLD");

    EXPECT_FALSE(u.Record(9, &doc, form, {}, ""));
    EXPECT_FALSE(u.Record(kUndoAlign, &doc, form, {0xDEAD}, ""));
    EXPECT_FALSE(u.Record(kUndoAlign, &doc, nullptr, {}, ""));
    EXPECT_TRUE(u.Record(61, &doc, form, {}, ""));
}

}  // namespace
}  // namespace dsg
