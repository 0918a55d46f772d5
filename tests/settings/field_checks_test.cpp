#include "settings/field_checks.h"

#include <gtest/gtest.h>

#include <QLineEdit>

#include "app/qt_util.h"
#include "protocol/device_link.h"

namespace karvo {
namespace {

const NumberLocale kComma{",", " "};
const NumberLocale kPoint{".", ","};

TEST(ValidateFloatField, ColoursTextAndResult) {
    QLineEdit field;
    float result = 42.0f;

    field.setText(QString());
    EXPECT_FALSE(ValidateFloatField(&field, 4, result, 1e8f, 0.1f, kPoint));
    EXPECT_EQ(field.text(), QString());
    EXPECT_EQ(BackgroundOf(&field), colour::LightRed);
    EXPECT_EQ(result, 42.0f);

    field.setText(QStringLiteral(" 1,000.5 "));  // kept exactly as typed
    EXPECT_FALSE(ValidateFloatField(&field, 4, result, 1e8f, 0.1f, kPoint));
    EXPECT_EQ(field.text(), QStringLiteral(" 1,000.5 "));

    field.setText(QStringLiteral("0.05"));
    EXPECT_FALSE(ValidateFloatField(&field, 4, result, 1e8f, 0.1f, kPoint));
    EXPECT_EQ(field.text(), QStringLiteral("0.0500"));
    EXPECT_EQ(BackgroundOf(&field), colour::LightRed);
    EXPECT_EQ(result, 42.0f);

    field.setText(QStringLiteral("2.5"));
    EXPECT_TRUE(ValidateFloatField(&field, 4, result, 1e8f, 0.1f, kComma));
    EXPECT_EQ(field.text(), QStringLiteral("2,5000"));
    EXPECT_EQ(BackgroundOf(&field), colour::Window);
    EXPECT_EQ(result, 2.5f);
}

TEST(ValidateIntField, NeverRewritesTheText) {
    QLineEdit field(QStringLiteral("500.0"));
    std::int32_t result = 7;
    EXPECT_FALSE(ValidateIntField(&field, result, 1e8f, 1.0f));
    EXPECT_EQ(field.text(), QStringLiteral("500.0"));
    EXPECT_EQ(BackgroundOf(&field), colour::LightRed);
    EXPECT_EQ(result, 7);

    field.setText(QStringLiteral("  500"));
    EXPECT_TRUE(ValidateIntField(&field, result, 1e8f, 1.0f));
    EXPECT_EQ(field.text(), QStringLiteral("  500"));
    EXPECT_EQ(BackgroundOf(&field), colour::Window);
    EXPECT_EQ(result, 500);
}

}  // namespace
}  // namespace karvo
