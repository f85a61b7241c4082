#include "storage/file_prompts.h"

namespace mvk {

std::u16string FillTextArgument(std::u16string_view text, std::u16string_view argument) {
  std::u16string filled;
  bool argumentUsed = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool conversion = text[i] == u'%' && i + 1 < text.size();
    if (conversion && text[i + 1] == u'%') {
      filled += u'%';
      ++i;
    } else if (conversion && text[i + 1] == u's' && !argumentUsed) {
      filled += argument;
      argumentUsed = true;
      ++i;
    } else {
      filled += text[i];
    }
  }
  return filled;
}

}  // namespace mvk
