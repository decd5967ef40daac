#include <QtGlobal>

#include <algorithm>
#include <string_view>
#include <vector>

#include "run/CommandLine.h"

namespace pricora {

namespace {

// Where each option's account starts; a longer name and value puts it on the next line.
constexpr std::size_t kHelpColumn = 20;

bool in(OptionSet set, const CommandLineOption& option) { return (set & optionSet({option.option})) != 0; }

// Characters, not bytes, so that a translation's letters line up.
std::size_t width(std::string_view text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xc0) != 0x80; }));
}

std::string written(const CommandLineOption& option, const TranslateText& translated) {
  std::string text = option.name;
  if (option.value != nullptr) (text += ' ') += translated(option.value);
  return text;
}

// The options of set in the table's order, each written as pattern shows: "[%]" or "%".
std::string listed(OptionSet set, std::string_view pattern, std::string_view separator,
                   const TranslateText& translated) {
  std::string text;
  for (const CommandLineOption& option : commandLineOptions()) {
    if (!in(set, option)) continue;
    if (!text.empty()) text += separator;
    const std::size_t at = pattern.find('%');
    ((text += pattern.substr(0, at)) += written(option, translated)) += pattern.substr(at + 1);
  }
  return text;
}

// "pricora [RUN | RUN] [OPTION]...", then "pricora COMMAND | COMMAND" a line, from the rules: the ways
// to run that exclude each other, each with the options that need it; the options that go
// alone; and the rest, which go anywhere.
std::string synopsis(const TranslateText& translated) {
  OptionSet placed = 0;
  std::string runs;
  std::vector<std::string> commands;
  for (const OptionRule& rule : optionRules()) {
    if (rule.kind == OptionRuleKind::alone) {
      commands.push_back(listed(rule.these, "%", " | ", translated));
      placed |= rule.these;
    }
    if (rule.kind != OptionRuleKind::apart) continue;
    for (const CommandLineOption& way : commandLineOptions()) {
      if (!in(rule.these | rule.those, way)) continue;
      if (!runs.empty()) runs += " | ";
      runs += written(way, translated);
      placed |= optionSet({way.option});
      for (const OptionRule& companions : optionRules()) {
        if (companions.kind != OptionRuleKind::needs || !in(companions.those, way)) continue;
        (runs += ' ') += listed(companions.these, "[%]", " ", translated);
        placed |= companions.these;
      }
    }
  }
  OptionSet anywhere = 0;
  for (const CommandLineOption& option : commandLineOptions())
    if (!in(placed, option)) anywhere |= optionSet({option.option});
  const std::string usage = translated(QT_TRANSLATE_NOOP("CommandLine", "usage: "));
  const std::string indent(width(usage), ' ');
  std::string text =
      usage + "pricora [" + runs + "]\n" + indent + "        " + listed(anywhere, "[%]", " ", translated) + "\n";
  for (const std::string& command : commands) ((text += indent) += "pricora ") += command + "\n";
  return text;
}

std::string optionList(const TranslateText& translated) {
  std::string text;
  for (const CommandLineOption& option : commandLineOptions()) {
    const std::string head = "  " + written(option, translated);
    text += head;
    if (width(head) < kHelpColumn) {
      text.append(kHelpColumn - width(head), ' ');
    } else {
      (text += '\n').append(kHelpColumn, ' ');
    }
    for (const char c : translated(option.help)) {
      text += c;
      if (c == '\n') text.append(kHelpColumn, ' ');
    }
    text += '\n';
  }
  return text;
}

}  // namespace

std::string commandLineUsage(const TranslateText& translated) {
  return synopsis(translated) + optionList(translated) +
         translated(QT_TRANSLATE_NOOP(
             "CommandLine",
             "exit status (headless): 0 after N refreshes, 2 when the time-out ended the run, 1 on a fatal error\n"
             "exit status (bar): 0 when the bar closes its end or a signal ends the run, 1 on a fatal error\n"
             "exit status (alerts and holdings): 0 when done, 1 when nothing was done\n"));
}

}  // namespace pricora
