#include "settings/field_checks.h"

#include <QLineEdit>

#include "app/qt_util.h"
#include "protocol/device_link.h"
#include "settings/entry_check.h"

namespace karvo {

bool ValidateFloatField(QLineEdit* field, int decimals, float& result, float max, float min,
                        const NumberLocale& locale) {
    SetBackground(field, colour::Window);
    const FloatCheck check = CheckFloatEntry(ToStd(field->text()), decimals, max, min, locale);
    if (check.text) field->setText(ToQ(*check.text));
    if (!check.ok) {
        SetBackground(field, colour::LightRed);
        return false;
    }
    result = check.value;
    return true;
}

bool ValidateIntField(QLineEdit* field, std::int32_t& result, float max, float min) {
    SetBackground(field, colour::Window);
    const IntCheck check = CheckIntEntry(ToStd(field->text()), max, min);
    if (!check.ok) {
        SetBackground(field, colour::LightRed);
        return false;
    }
    result = check.value;
    return true;
}

}  // namespace karvo
