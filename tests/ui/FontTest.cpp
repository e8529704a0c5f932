// Without an installed font Qt draws solid bars and says nothing; this guards
// the font package in the install list.
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

#include <gtest/gtest.h>

TEST(Fonts, FixedEditorFontResolves)
{
    const QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const QFontInfo info(font);
    EXPECT_FALSE(info.family().isEmpty());
    EXPECT_FALSE(QFontDatabase::families().isEmpty());
}
