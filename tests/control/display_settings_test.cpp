// The text size kept between runs in the user's settings (redirected to a
// scratch folder for the tests).
#include "control/display_settings.h"

#include <QDir>
#include <QSettings>
#include <gtest/gtest.h>

namespace gq
{

TEST(DisplaySettings, TheTextSizeIsStoredUnderTheProgramsNameAndReadBack)
{
    QSettings settings(QStringLiteral("Graphotheque"), QStringLiteral("Graphotheque"));
    ASSERT_TRUE(settings.fileName().startsWith(QDir::tempPath())) << "never the user's own settings";
    settings.remove(QStringLiteral("display/textSize"));
    EXPECT_EQ(storedTextSize(), TextSize::Standard) << "nothing stored yet";

    for (TextSize size : {TextSize::ExtraLarge, TextSize::Large, TextSize::Standard}) {
        storeTextSize(size);
        EXPECT_EQ(storedTextSize(), size);
    }
    storeTextSize(TextSize::ExtraLarge);
    settings.sync();
    EXPECT_EQ(settings.value(QStringLiteral("display/textSize")).toString(), QStringLiteral("extra-large"));

    // A value this program does not know (a later version's, or edited by
    // hand) is the standard size.
    settings.setValue(QStringLiteral("display/textSize"), QStringLiteral("huge"));
    settings.sync();
    EXPECT_EQ(storedTextSize(), TextSize::Standard);
    settings.remove(QStringLiteral("display/textSize"));
}

TEST(DisplaySettings, TextSizesScaleAndNameThemselves)
{
    EXPECT_EQ(textScale(TextSize::Standard), 1.0);
    EXPECT_EQ(textScale(TextSize::Large), 1.5);
    EXPECT_EQ(textScale(TextSize::ExtraLarge), 2.0);
    for (TextSize size : {TextSize::Standard, TextSize::Large, TextSize::ExtraLarge})
        EXPECT_EQ(textSizeNamed(textSizeName(size)), size);
    EXPECT_FALSE(textSizeNamed("Standard"));
    EXPECT_FALSE(textSizeNamed(""));
}

} // namespace gq
