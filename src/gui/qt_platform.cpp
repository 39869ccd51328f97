// Qt realisation of the platform interface.
#include "gui/qt_platform.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStringList>
#include <QTreeView>
#include <algorithm>
#include <vector>

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

QString tab_table(const QString& text) {
  static const QRegularExpression kTabs(QStringLiteral("\t+"));
  std::vector<QStringList> rows;
  qsizetype columns = 1;
  for (QString line : text.split(u'\n')) {
    while (line.endsWith(u'\t')) line.chop(1);
    rows.push_back(line.split(kTabs));
    columns = std::max(columns, rows.back().size());
  }
  QString html = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"0\">");
  for (const QStringList& cells : rows) {
    html += QStringLiteral("<tr>");
    for (qsizetype k = 0; k < cells.size(); ++k) {
      // A line without tabs may wrap as in a plain box; cells keep theirs.
      html += cells.size() == 1
                  ? QStringLiteral("<td style=\"white-space:pre-wrap\"")
                  : QStringLiteral(
                        "<td style=\"white-space:pre; padding-right:16px\"");
      if (k + 1 == cells.size() && cells.size() < columns) {
        html += QStringLiteral(" colspan=\"%1\"").arg(columns - k);
      }
      html += u'>';
      html += cells[k].isEmpty() ? QStringLiteral("&nbsp;")
                                 : cells[k].toHtmlEscaped();
      html += QStringLiteral("</td>");
    }
    html += QStringLiteral("</tr>");
  }
  return html + QStringLiteral("</table>");
}

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
  // Tabs line up as columns; any other text is shown as it is.
  const QString plain = to_qstring(text);
  if (plain.contains(u'\t')) {
    box->setTextFormat(Qt::RichText);
    box->setText(tab_table(plain));
  } else {
    box->setTextFormat(Qt::PlainText);
    box->setText(plain);
  }
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

std::unique_ptr<QFileDialog> create_open_dialog(std::string_view title,
                                                const QString& qt_filter,
                                                QWidget* parent) {
  auto dialog = std::make_unique<QFileDialog>(parent, to_qstring(title),
                                              QString(), qt_filter);
  dialog->setAcceptMode(QFileDialog::AcceptOpen);
  dialog->setFileMode(QFileDialog::ExistingFile);
  dialog->setViewMode(QFileDialog::Detail);
  // Room for the side bar and the name, size, type and date columns.
  const QFontMetrics metrics(dialog->font());
  QSize size(metrics.averageCharWidth() * 135, metrics.height() * 32);
  if (const QScreen* screen =
          parent != nullptr ? parent->screen() : dialog->screen()) {
    size = size.boundedTo(screen->availableGeometry().size() - QSize(16, 48));
  }
  dialog->resize(size);
  // Qt's own dialog (not a native one) widens its size, type and date
  // columns to their contents whenever it has read a folder and gives the
  // name the rest; the user may still drag them.
  auto* view = dialog->findChild<QTreeView*>();
  auto* model = dialog->findChild<QFileSystemModel*>();
  if (view != nullptr && model != nullptr) {
    QObject::connect(model, &QFileSystemModel::directoryLoaded, view, [view] {
      int others = 0;
      for (int column = 1; column < view->header()->count(); ++column) {
        view->resizeColumnToContents(column);
        others += view->columnWidth(column);
      }
      const int rest = view->viewport()->width() - others;
      if (rest > view->columnWidth(0)) view->setColumnWidth(0, rest);
    });
  }
  return dialog;
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
  const auto dialog = create_open_dialog(title, qt_filter, dialog_parent());
  if (dialog->exec() != QDialog::Accepted ||
      dialog->selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  const QString path = dialog->selectedFiles().front();
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

std::optional<std::string> QtPlatform::ask_text(std::string_view title,
                                                std::string_view prompt,
                                                std::string_view initial) {
  if (text_answerer_) return text_answerer_(title, initial);
  bool ok = false;
  const QString text = QInputDialog::getText(
      dialog_parent(), to_qstring(title), to_qstring(prompt), QLineEdit::Normal,
      to_qstring(initial), &ok);
  if (!ok) return std::nullopt;
  return text.toStdString();
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
