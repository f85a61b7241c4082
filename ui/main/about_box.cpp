#include "ui/main/about_box.h"

#include <QVBoxLayout>

namespace mvk {

CAboutDlg::CAboutDlg(TextOf text, QWidget* parent) : QDialog(parent), text_(std::move(text)) {
  setAttribute(Qt::WA_DeleteOnClose);
  auto* layout = new QVBoxLayout(this);
  description_.setWordWrap(true);
  link_.setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(kMakerWebSite));
  link_.setOpenExternalLinks(true);
  for (QWidget* widget : {static_cast<QWidget*>(&description_), static_cast<QWidget*>(&copyright_),
                          static_cast<QWidget*>(&link_), static_cast<QWidget*>(&ok_)}) {
    layout->addWidget(widget);
  }
  connect(&ok_, &QPushButton::clicked, this, &QDialog::accept);
  ApplyLanguage();
}

void CAboutDlg::ApplyLanguage() {
  setWindowTitle(text_("LANG_ABOUT_TITLE"));
  description_.setText(text_("GUANYU_JIESHAO"));
  copyright_.setText(text_("GUANYU_BANQUAN"));
  ok_.setText(text_("LANG_ABOUT_OK"));
}

}  // namespace mvk
