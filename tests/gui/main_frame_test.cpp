// The main window: the menu tree, prompts and check marks, titles and open
// dialogs, scrolling, message boxes and the About box.
#include "gui/main_frame.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTreeView>
#include <clocale>
#include <memory>

#include "app/commands.h"
#include "gui/qlor_view.h"
#include "scripted_answers.h"
#include "temp_dir.h"

using namespace qlor;
using namespace qlor::gui;

namespace {

// A menu as "title{entry / entry / ...}": "-" for a separator, a submenu
// in braces, the shortcut after "|" and "*" when the item is checkable.
QString dump_menu(const QString& title, const QList<QAction*>& actions) {
  QStringList entries;
  for (const QAction* a : actions) {
    if (a->isSeparator()) {
      entries << QStringLiteral("-");
    } else if (a->menu() != nullptr) {
      entries << dump_menu(a->text(), a->menu()->actions());
    } else {
      QString entry = a->text();
      if (!a->shortcut().isEmpty()) entry += u'|' + a->shortcut().toString();
      entries << (a->isCheckable() ? entry + u'*' : entry);
    }
  }
  return title + u'{' + entries.join(QStringLiteral(" / ")) + u'}';
}

}  // namespace

class MainFrameTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { std::setlocale(LC_NUMERIC, "C"); }

  void init() {
    platform_ = std::make_unique<QtPlatform>();
    answers_ = std::make_unique<gui::testing::ScriptedAnswers>(*platform_);
    frame_ = std::make_unique<CMainFrame>(
        *platform_, clock_, dir_.write("qlor.ini", "RANDOMIZE=2\n"));
  }

  void cleanup() {
    frame_.reset();
    answers_.reset();
    platform_.reset();
  }

  void menuTree() {
    QStringList menus;
    for (const QAction* menu : frame_->menuBar()->actions()) {
      menus << dump_menu(menu->text(), menu->menu()->actions());
    }
    const QStringList expected = {
        "&File{&Open...|Ctrl+O / &Close|Ctrl+C / - / E&xit|Ctrl+X}",
        "&Analysis{Single &File|Ctrl+F / - / Batch File{&PreCheck|Ctrl+P / - "
        "/ Check && &Analyse|Ctrl+A / - / A&uto Analyse|Ctrl+U} / - / "
        "&Significance only|Ctrl+S / - / &Function{L(t) - t* / - / g(t) - "
        "pair correlation* / O(t) - O-ring* / - / &Bandwidth... / - / "
        "&Intensity...} / &Null model{Header's model* / - / Random "
        "labelling* / Toroidal shift*} / &Pairs{Across species* / - / "
        "Within species 1* / Within species 2*}}",
        "&Significance{No test* / - / Ripley's Supremum* / - / Cramer-von "
        "Mises* / - / Both tests*}",
        "&Direction{None* / - / 90° W,N,E,S* / - / 90° SW,NW,NE,SE* / - / "
        "180° N-S, W-E*}",
        "&Randomize 1|2{Randomize species 2 only* / - / Randomize both "
        "species*}",
        "  &View{Sho&w settings|Ctrl+W / &Plot result... / - / Status Bar* / "
        "- / Progress Ctrl Bar{Show always* / - / Show if >1 M* / Show if >10 "
        "M* / Show if >100 M* / - / Do not show*}}",
        "  &?{About QLOR...}"};
    QCOMPARE(menus, expected);
    QCOMPARE(frame_->windowTitle(), QStringLiteral("QLOR - Qlorfield"));
    QCOMPARE(frame_->geometry().size(), QSize(600, 400));
  }

  void promptsAndStatusBar() {
    const std::pair<int, const char*> prompts[] = {
        {kCmdFileOpen, "Open an existing file"},
        {kCmdProgressAbove10M,
         "Show Progress Ctrl Bar if >10 M i-j calculations"},
        {kCmdViewStatusBar, "Show or hide the status bar"},
    };
    QStatusBar* bar = frame_->statusBar();
    for (const auto& [command, prompt] : prompts) {
      frame_->action(command)->showStatusText(frame_->menuBar());  // hover
      QCOMPARE(bar->currentMessage(), QString::fromLatin1(prompt));
    }
    QStringList panes;
    for (const QLabel* label : bar->findChildren<QLabel*>()) {
      panes << label->text();
    }
    QCOMPARE(panes, QStringList({"Ready", "CAP", "NUM", "SCRL"}));
    // At the window's size a long prompt takes the room of the CAP, NUM and
    // SCRL panes while it shows, and is shown whole.
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
    const QLabel* cap = bar->findChildren<QLabel*>()[1];
    for (int command : {kCmdDirectionCardinal, kCmdDirectionDiagonal,
                        kCmdDirectionHalfPlanes, kCmdFileOpen}) {
      const bool long_prompt = command != kCmdFileOpen;
      frame_->action(command)->showStatusText(frame_->menuBar());
      QCOMPARE(bar->currentMessage(),
               to_qstring(prompt_help(command_prompt(command))));
      QCOMPARE(cap->isVisible(), !long_prompt);
      const int room = long_prompt ? bar->width() : cap->x();
      QVERIFY(bar->fontMetrics().horizontalAdvance(bar->currentMessage()) <
              room);
    }
    bar->clearMessage();
    QVERIFY(cap->isVisible());
    QAction* toggle = frame_->action(kCmdViewStatusBar);
    for (bool shown : {false, true}) {
      toggle->trigger();
      QCOMPARE(!bar->isHidden(), shown);
      QCOMPARE(toggle->isChecked(), shown);
    }
  }

  void checkMarksFollowTheSettingsCommands() {
    // Each group: its first command and its number of items.
    const std::pair<int, int> groups[] = {{kCmdSignificanceNone, 4},
                                          {kCmdDirectionNone, 4},
                                          {kCmdRandomizeSpecies2, 2},
                                          {kCmdProgressAlways, 5}};
    QVERIFY(frame_->action(kCmdRandomizeBoth)->isChecked());  // qlor.ini
    QVERIFY(!frame_->action(kCmdRandomizeSpecies2)->isChecked());
    for (const auto& [first, size] : groups) {
      // Each item twice: choosing the checked item keeps its mark.
      for (int chosen = first; chosen < first + size; ++chosen) {
        for (int round = 0; round < 2; ++round) {
          frame_->action(chosen)->trigger();
          for (int item = first; item < first + size; ++item) {
            QVERIFY2(frame_->action(item)->isChecked() == (item == chosen),
                     qPrintable(QStringLiteral("%1 %2").arg(chosen).arg(item)));
          }
        }
      }
    }
    QVERIFY(answers_->boxes.empty());
  }

  void titlesAndOpenDialogs() {
    answers_->files = {dir_.write("plot1.dat", "1 2\n"), dir_.path().string()};
    frame_->action(kCmdFileOpen)->trigger();
    QCOMPARE(frame_->windowTitle(), QStringLiteral("QLOR - plot1.dat"));
    frame_->action(kCmdFileClose)->trigger();
    QCOMPARE(frame_->windowTitle(), QStringLiteral("QLOR - Qlorfield"));
    frame_->action(kCmdFileOpen)->trigger();  // a folder: cannot be opened
    QCOMPARE(frame_->windowTitle(), QStringLiteral("QLOR - Qlorfield"));
    QCOMPARE(answers_->box_texts(),
             std::vector<std::string>{"QLOR - File open error!"});
    QVERIFY(answers_->boxes[0].icon == Icon::kStop);
    // The other two dialogs, cancelled (Significance only needs a test).
    frame_->action(kCmdSignificanceSupremum)->trigger();
    frame_->action(kCmdBatchPrecheck)->trigger();
    frame_->action(kCmdSignificanceOnly)->trigger();
    const QString open =
        "QLOR - open file ...|Data files (*.DAT *.dat);;Batch files (*.BAT "
        "*.bat);;Temporary files (*.TMP *.tmp);;Output files (*.KTT "
        "*.ktt);;Error files (*.ERR *.err);;All files (*)";
    QStringList asked;
    for (const auto& [title, filter] : answers_->dialogs) {
      asked << to_qstring(title) + u'|' + filter;
    }
    QCOMPARE(asked,
             QStringList({open, open,
                          "QLOR - open batch file ...|Batch files (*.BAT "
                          "*.bat);;All files (*)",
                          "QLOR - open temp file ...|Temporary files (*.TMP "
                          "*.tmp);;All files (*)"}));
  }

  // Ten lines, four to a page: page down goes 0, 3, 6, 9 and stops.
  void scrolling() {
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
    gui::CQLOR_View& view = frame_->view();
    QScrollBar* bar = view.verticalScrollBar();
    QVERIFY(!bar->isVisible());
    answers_->files = {dir_.write("ten.txt", "0\n1\n2\n3\n4\n5\n6\n7\n8\n9\n")};
    frame_->action(kCmdFileOpen)->trigger();
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->maximum(), 10);
    const int wanted = 4 * view.line_height() + view.line_height() / 2;
    frame_->resize(600, 400 + wanted - view.viewport()->height());
    QTRY_COMPARE(view.viewport()->height(), wanted);
    view.viewport()->repaint();
    QCOMPARE(view.controller().lines_per_page(), 4);

    const auto first = [&] { return view.controller().first_line(); };
    for (int expected : {3, 6, 9, 9}) {
      QTest::keyClick(&view, Qt::Key_PageDown);
      QCOMPARE(first(), expected);
      QCOMPARE(bar->value(), expected);
    }
    QTest::keyClick(&view, Qt::Key_PageUp);
    QTest::keyClick(&view, Qt::Key_Up);
    QCOMPARE(first(), 5);
    bar->setSliderPosition(2);  // thumb track
    QCOMPARE(first(), 2);
    bar->setSliderPosition(10);  // past the last line: stops at it
    QCOMPARE(bar->value(), 9);
    bar->triggerAction(QAbstractSlider::SliderToMinimum);  // not an action
    QCOMPARE(first(), 9);
    QCOMPARE(bar->value(), 9);
    frame_->action(kCmdFileClose)->trigger();
    QVERIFY(!bar->isVisible());
    QCOMPARE(first(), 0);
  }

  // Show settings and the parameter summaries: the texts after the tabs
  // start in one column, however many tabs the labels need.
  void tabsLineUpInColumns() {
    const std::string text =
        "HEADING\t\n\nTest of Significance :\tNone\n\nDirection analysed "
        ":\t\tSW\n\nRandomize :\t\tBoth  species\nA long line without a "
        "tab";
    const auto box =
        create_message_box(text, Buttons::kOk, Icon::kNone, nullptr);
    QCOMPARE(box->textFormat(), Qt::RichText);
    QTextDocument document;
    document.setHtml(tab_table(to_qstring(text)));
    const auto left_of = [&](const QString& value) {
      const QTextCursor found = document.find(value);
      return document.documentLayout()->blockBoundingRect(found.block()).left();
    };
    QVERIFY(left_of("None") > left_of("Test of"));
    QCOMPARE(left_of("SW"), left_of("None"));
    QCOMPARE(left_of("Both  species"), left_of("None"));  // blanks kept
    QCOMPARE(left_of("A long line"), left_of("HEADING"));
  }

  // The open dialogs show each file's name, size, type and date in full.
  void openDialogShowsEveryColumn() {
    const qlor::testing::TempDir folder;
    folder.write("a sample data file with a long name.dat",
                 std::string(28 * 1024, '1'));
    const auto dialog = create_open_dialog(
        "QLOR - open file ...", qt_file_filter("Data files (*.DAT)|*.dat||"),
        nullptr);
    dialog->setDirectory(QString::fromStdString(folder.path().string()));
    auto* view = dialog->findChild<QTreeView*>();
    QVERIFY(view != nullptr);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    QTRY_COMPARE(view->model()->rowCount(view->rootIndex()), 1);
    const QModelIndex file = view->model()->index(0, 0, view->rootIndex());
    for (int column = 0; column < 4; ++column) {
      const QModelIndex cell = file.siblingAtColumn(column);
      QTRY_VERIFY2(
          view->columnWidth(column) >= view->sizeHintForIndex(cell).width(),
          qPrintable(cell.data().toString()));
    }
    dialog->close();
  }

  void messageAndAboutBoxes() {
    const auto stop =
        create_message_box("a < b", Buttons::kOk, Icon::kStop, nullptr);
    QCOMPARE(stop->icon(), QMessageBox::Critical);
    QCOMPARE(stop->standardButtons(), QMessageBox::Ok);
    QCOMPARE(stop->textFormat(), Qt::PlainText);
    const auto ask =
        create_message_box("Go ?", Buttons::kYesNo, Icon::kNone, nullptr);
    QCOMPARE(ask->icon(), QMessageBox::NoIcon);
    QCOMPARE(ask->standardButtons(), QMessageBox::Yes | QMessageBox::No);
    const auto about = create_about_box(frame_.get());
    QCOMPARE(about->windowTitle(), QStringLiteral("About QLOR"));
    QVERIFY(about->text().startsWith(QStringLiteral("QLOR Version 1.0\n")));
    QCOMPARE(about->standardButtons(), QMessageBox::Ok);
    frame_->show();
    frame_->action(kCmdAppExit)->trigger();
    QVERIFY(!frame_->isVisible());
  }

 private:
  qlor::testing::TempDir dir_;
  FixedClock clock_{1700000000};
  std::unique_ptr<QtPlatform> platform_;
  std::unique_ptr<gui::testing::ScriptedAnswers> answers_;
  std::unique_ptr<CMainFrame> frame_;
};

QTEST_MAIN(MainFrameTest)
#include "main_frame_test.moc"
