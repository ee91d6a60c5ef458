#include "app/lookup/senses.h"

#include <cstdio>

#include "app/lookup/text_rules.h"
#include "custom/custom_db.h"

namespace lookup {

namespace {

// PosName reads a code's name at kCustomTypes[code - 1].
constexpr bool TypesInCodeOrder() {
  for (int i = 0; i < kCustomTypeCount; ++i) {
    if (kCustomTypes[i].pos != static_cast<uint32_t>(i) + 1) return false;
  }
  return kCustomOtherPos == kCustomTypeCount + 1;
}
static_assert(TypesInCodeOrder());

std::vector<std::string> SplitExamples(std::string_view text, char separator) {
  std::vector<std::string> out;
  while (!text.empty()) {
    const size_t end = text.find(separator);
    std::string cleaned = CleanExample(text.substr(0, end));
    if (!cleaned.empty()) out.push_back(std::move(cleaned));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return out;
}

}  // namespace

const char* PosName(uint32_t pos) {
  if (pos >= 1 && pos <= kCustomTypeCount) return kCustomTypes[pos - 1].display_name;
  return pos == kCustomOtherPos ? "Other" : "";
}

std::string CutDefinition(std::string_view text) {
  // White space holds no ';', so trimming after the cut gives what trimming around it would.
  return UpperFirst(Trim(text.substr(0, text.find(';'))));
}

std::string CleanExample(std::string_view example) {
  std::string unquoted;
  for (char c : example) {
    if (c != '"') unquoted.push_back(c);
  }
  return UpperFirst(Trim(unquoted));
}

std::vector<std::string> GlossExamples(std::string_view gloss) {
  const size_t first = gloss.find(';');
  if (first == std::string_view::npos) return {};
  return SplitExamples(gloss.substr(first + 1), ';');
}

std::vector<std::string> CustomExamples(std::string_view examples_text) {
  return SplitExamples(examples_text, '^');
}

bool TextHasExamples(std::string_view text) {
  return text.size() > 1 && text.find(';', 1) != std::string_view::npos;
}

int PosSelectionCode(const std::vector<SenseRow>& rows) {
  int sum = 0;
  bool other = false;
  for (const SenseRow& row : rows) {
    if (!row.checked) continue;
    if (row.pos >= kNoun && row.pos <= kAdverb) {
      sum |= 1 << (row.pos - 1);
    } else if (row.pos > kAdverb && row.pos <= kCustomOtherPos) {
      other = true;
    }
  }
  if (other && (sum == 0 || sum == 15)) return 16;
  return sum;
}

std::array<bool, 4> PosToggleStates(int code) {
  std::array<bool, 4> states{};
  if (code <= 0 || code >= 16) return states;
  for (int k = 0; k < 4; ++k)
    states[k] = (code >> k) & 1;
  return states;
}

std::vector<uint32_t> SelectedSenses(const std::vector<SenseRow>& rows) {
  std::vector<uint32_t> senses;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].checked) senses.push_back(static_cast<uint32_t>(i));
  }
  return senses;
}

std::vector<UsageRow> BuildUsageRows(const std::vector<SenseRow>& rows) {
  std::vector<UsageRow> out;
  for (const SenseRow& row : rows) {
    for (size_t k = 0; k < row.examples.size(); ++k) {
      if (k == 0) {
        char heading[32];
        std::snprintf(heading, sizeof heading, "Sense %2d : ", row.number);
        out.push_back({true, row.number, heading + std::string(PosName(row.pos))});
      }
      out.push_back({false, row.number, "   \"" + row.examples[k] + "\""});
    }
  }
  return out;
}

}  // namespace lookup
