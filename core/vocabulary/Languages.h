#pragma once

// The four vocabularies, each defined in its own file. Reach them through Language's words().

#include "vocabulary/Vocabulary.h"

namespace nimb {

[[nodiscard]] const Vocabulary& englishWords();
[[nodiscard]] const Vocabulary& spanishWords();
[[nodiscard]] const Vocabulary& italianWords();
[[nodiscard]] const Vocabulary& frenchWords();

} // namespace nimb
