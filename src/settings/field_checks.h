// The entry checks applied to a text field: normal colour at the start, light red on refusal,
// the decimal field rewritten with the value understood, the result written only on success.
#pragma once

#include <cstdint>

#include "readout/number_format.h"

class QLineEdit;

namespace karvo {

bool ValidateFloatField(QLineEdit* field, int decimals, float& result, float max, float min,
                        const NumberLocale& locale);
bool ValidateIntField(QLineEdit* field, std::int32_t& result, float max, float min);

}  // namespace karvo
