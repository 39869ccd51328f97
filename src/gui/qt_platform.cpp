// Qt realisation of the platform interface.
#include "gui/qt_platform.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringList>

#include "gui/progress_dialog.h"

namespace qlor::gui {

namespace {

// The patterns a filter entry already names in its trailing parentheses,
// and the description before them.
struct FilterEntry {
  QString description;
  QStringList patterns;
};

FilterEntry split_description(const QString& text) {
  const QString trimmed = text.trimmed();
  const auto open = trimmed.lastIndexOf(u'(');
  if (!trimmed.endsWith(u')') || open < 0) return {trimmed, {}};
  const QString inner = trimmed.mid(open + 1, trimmed.size() - open - 2);
  return {trimmed.left(open).trimmed(),
          inner.split(QRegularExpression(QStringLiteral("[ ;]+")),
                      Qt::SkipEmptyParts)};
}

void add_patterns(QStringList& patterns, const QStringList& more) {
  for (QString p : more) {
    // "*.*" is meant as every file; on Linux it would skip names without
    // a dot.
    if (p == QLatin1String("*.*")) p = QStringLiteral("*");
    if (!patterns.contains(p)) patterns.append(p);
  }
}

}  // namespace

QString to_qstring(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString qt_file_filter(std::string_view filter) {
  const QStringList parts = to_qstring(filter).split(u'|');
  QStringList entries;
  // Pairs of description and pattern; an empty description ends the list.
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].trimmed().isEmpty()) break;
    const FilterEntry named = split_description(parts[i]);
    QStringList patterns;
    add_patterns(patterns, named.patterns);
    add_patterns(patterns, parts[i + 1].split(u';', Qt::SkipEmptyParts));
    entries.append(named.description + QStringLiteral(" (") +
                   patterns.join(u' ') + u')');
  }
  return entries.join(QStringLiteral(";;"));
}

std::unique_ptr<QMessageBox> create_message_box(std::string_view text,
                                                Buttons buttons, Icon icon,
                                                QWidget* parent) {
  auto box = std::make_unique<QMessageBox>(parent);
  box->setWindowTitle(QStringLiteral("QLOR"));
  box->setTextFormat(Qt::PlainText);
  box->setText(to_qstring(text));
  box->setIcon(icon == Icon::kStop ? QMessageBox::Critical
                                   : QMessageBox::NoIcon);
  if (buttons == Buttons::kYesNo) {
    box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box->setDefaultButton(QMessageBox::Yes);
  } else {
    box->setStandardButtons(QMessageBox::Ok);
  }
  return box;
}

Answer QtPlatform::message_box(std::string_view text, Buttons buttons,
                               Icon icon) {
  if (message_handler_) return message_handler_(text, buttons, icon);
  auto box = create_message_box(text, buttons, icon, dialog_parent());
  box->exec();
  if (buttons == Buttons::kOk) return Answer::kOk;
  // A Yes/No box closed by other means counts as No.
  return box->clickedButton() == box->button(QMessageBox::Yes) ? Answer::kYes
                                                               : Answer::kNo;
}

std::optional<ChosenFile> QtPlatform::open_file_dialog(
    std::string_view title, std::string_view filter) {
  const QString qt_filter = qt_file_filter(filter);
  if (file_chooser_) return file_chooser_(title, qt_filter);
  const QString path = QFileDialog::getOpenFileName(
      dialog_parent(), to_qstring(title), QString(), qt_filter);
  if (path.isEmpty()) return std::nullopt;
  return ChosenFile{path.toStdString(),
                    QFileInfo(path).fileName().toStdString()};
}

std::unique_ptr<ProgressDialog> QtPlatform::create_progress_dialog(
    bool two_bars) {
  auto dialog = std::make_unique<ProgressWindow>(two_bars);
  emit progressCreated(dialog.get());
  return dialog;
}

void QtPlatform::set_window_title(std::string_view title) {
  emit titleChanged(to_qstring(title));
}

void QtPlatform::show_text(const std::vector<std::string>&) {
  emit textShown();
}

QWidget* QtPlatform::dialog_parent() const {
  return window_ != nullptr && window_->isVisible() ? window_ : nullptr;
}

}  // namespace qlor::gui
