// What a key cap of the skin says: the symbols printed on a keyboard's keys,
// short enough to fit a cap; a '\n' separates the shifted symbol from the
// plain one.
#pragma once

#include <QString>
#include <optional>

#include "model/keys.h"

namespace mvk::skin {

QString KeyLegend(KeyIndex index);

// The key index of a skin key "KEY_%03X"; none for other keys.
std::optional<KeyIndex> KeyIndexOfSkinKey(const QString& skinKey);

}  // namespace mvk::skin
