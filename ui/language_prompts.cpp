#include "ui/language_prompts.h"

#include <QFileDialog>
#include <QStringList>

#include "app/program_services.h"
#include "ui/prompts.h"

namespace mvk {
namespace {

QString ToQString(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::optional<std::filesystem::path> ChosenPath(const QString& file) {
  if (file.isEmpty()) return std::nullopt;
  return std::filesystem::path(file.toStdString());
}

}  // namespace

QString QtFileFilter(std::u16string_view filter) {
  const QStringList parts = ToQString(filter).split(u'|', Qt::SkipEmptyParts);
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    entries.append(QStringLiteral("%1 (%2)").arg(parts[i], QString(parts[i + 1]).replace(u';', u' ')));
  }
  return entries.join(QStringLiteral(";;"));
}

LanguagePrompts::LanguagePrompts(ProgramServices& services, Prompts& prompts, QWidget* parent)
    : services_(services), prompts_(prompts), parent_(parent) {}

std::optional<std::filesystem::path> LanguagePrompts::AskOpenFile(
    const FileDialogOptions& options) {
  return ChosenPath(QFileDialog::getOpenFileName(parent_, {}, ToQString(options.initialName),
                                                 QtFileFilter(options.filter)));
}

std::optional<std::filesystem::path> LanguagePrompts::AskSaveFile(
    const FileDialogOptions& options) {
  QFileDialog dialog(parent_, {}, ToQString(options.initialName), QtFileFilter(options.filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(ToQString(options.defaultExtension));
  if (!options.overwritePrompt) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return ChosenPath(dialog.selectedFiles().front());
}

void LanguagePrompts::ShowMessage(std::string_view languageKey, std::u16string_view argument) {
  prompts_.ShowMessage(parent_,
                       ToQString(FillTextArgument(services_.Text(languageKey), argument)));
}

void LanguagePrompts::ShowNotice(std::string_view languageKey) { ShowMessage(languageKey); }

bool LanguagePrompts::AskYesNo(std::string_view languageKey) {
  return prompts_.AskYesNo(parent_, ToQString(services_.Text(languageKey)));
}

}  // namespace mvk
