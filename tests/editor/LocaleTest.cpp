// SPDX-License-Identifier: GPL-3.0-or-later
// The editor on a desktop whose decimal separator is a comma: numbers typed into the tool boxes
// and read from map files still take a decimal point.
#include <QTest>

#include "CommaLocale.h"
#include "EditorFixture.h"

namespace zorvik::editor::test {
namespace {

TEST_F(EditorTest, TypedAndStoredNumbersReadAlikeUnderACommaLocale) {
    const zorvik::test::CommaLocale czech;
    if (!czech.Active()) GTEST_SKIP() << "the locale cs_CZ.UTF-8 is not installed";

    // Link and speed tools together: 3.5 links a platform as 4; 4.5 on a left-walking enemy of
    // speed 1 (code 46) gives 45 + 4.5, rounded to 50.
    mapTiles[1][1] = 14;
    mapItems[2][1] = 46;
    Pick(1);
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QTest::mouseClick(form->Command3, Qt::LeftButton);
    form->Text1->clear();
    QTest::keyClicks(form->Text1, "3.5");
    form->Text2->clear();
    QTest::keyClicks(form->Text2, "4.5");
    QTest::mouseClick(form->Level, Qt::LeftButton, {}, QPoint(15, 15));
    QTest::mouseClick(form->Level, Qt::LeftButton, {}, QPoint(45, 15));
    EXPECT_EQ(mapItems[1][1], 4);
    EXPECT_EQ(mapItems[2][1], 50);

    // A cell "3.5" in an opened file reads 4.
    QByteArray zeros;
    for (int row = 1; row <= 18; ++row)
        zeros += QByteArray("000").repeated(50) + "\r\n";
    QByteArray items = zeros;
    items.replace(0, 3, "3.5");
    WriteAll(Path("a.map"), zeros);
    WriteAll(Path("a.map.1"), zeros);
    WriteAll(Path("a.map.2"), items);
    host.dialogAnswers = {Path("a.map")};
    form->Mopen_Click();
    ASSERT_TRUE(host.messages.empty());
    EXPECT_EQ(mapItems[1][1], 4);
}

}  // namespace
}  // namespace zorvik::editor::test
