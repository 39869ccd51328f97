// View > Plot result in the desktop window: the item's place, the file it
// asks for, the window it opens and what that window saves.
#include "gui/plot_window.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <clocale>
#include <memory>

#include "app/commands.h"
#include "gui/main_frame.h"
#include "scripted_answers.h"
#include "temp_dir.h"

using namespace qlor;
using namespace qlor::gui;

class PlotWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { std::setlocale(LC_NUMERIC, "C"); }

  void init() {
    platform_ = std::make_unique<QtPlatform>();
    answers_ = std::make_unique<gui::testing::ScriptedAnswers>(*platform_);
    frame_ = std::make_unique<CMainFrame>(*platform_, clock_,
                                          dir_.write("qlor.ini", ""));
  }

  void cleanup() {
    frame_.reset();
    answers_.reset();
    platform_.reset();
  }

  void itemFollowsShowSettings() {
    QMenu* view = nullptr;
    for (QAction* a : frame_->menuBar()->actions()) {
      if (a->text() == QStringLiteral("  &View")) view = a->menu();
    }
    QVERIFY(view != nullptr);
    const auto items = view->actions();
    QVERIFY(items.size() > 2);
    QCOMPARE(items[0], frame_->action(kCmdShowSettings));
    QCOMPARE(items[1], frame_->action(kCmdPlotResult));
    QCOMPARE(items[1]->text(), QStringLiteral("&Plot result..."));
  }

  void showsTheChosenFileAndSavesIt() {
    const std::string ktt = dir_.write("p.ktt", "1 1 -1 0.5\r\n2 1 -1 0\r\n");
    dir_.write("p.dat", "10 10 1 1 2 19\n1 1\n");
    answers_->files = {ktt};
    frame_->action(kCmdPlotResult)->trigger();
    QCOMPARE(answers_->dialogs.size(), std::size_t{1});
    QCOMPARE(answers_->dialogs[0].first, std::string(kPlotResultTitle));
    QVERIFY(answers_->dialogs[0].second.contains(QStringLiteral("*.ktt")));
    auto* window = frame_->findChild<PlotWindow*>();
    QVERIFY(window != nullptr);
    QVERIFY(window->isVisible());
    QCOMPARE(
        window->windowTitle(),
        QStringLiteral("QLOR - p.ktt - max/min envelope of 19 simulations"));
    QCOMPARE(window->figure().panels.size(), std::size_t{1});
    for (const char* name : {"f.png", "f.svg"}) {
      QCOMPARE(window->save(dir_.file(name)), std::string());
      QVERIFY(!qlor::testing::read_bytes(dir_.file(name)).empty());
    }
    QVERIFY(window->save(dir_.file("f.gif")) != std::string());
    QVERIFY(answers_->boxes.empty());
    window->close();
  }

  // With a sample file open whose result exists, that result is drawn
  // without a dialog.
  void drawsTheOpenFilesResultWithoutAsking() {
    dir_.write("p.ktt", "1 1 -1 0.5\r\n2 1 -1 0\r\n");
    answers_->files = {dir_.write("p.dat", "10 10 1 1 2 19\n1 1\n")};
    frame_->action(kCmdFileOpen)->trigger();
    const std::size_t asked = answers_->dialogs.size();
    frame_->action(kCmdPlotResult)->trigger();
    QCOMPARE(answers_->dialogs.size(), asked);
    auto* window = frame_->findChild<PlotWindow*>();
    QVERIFY(window != nullptr);
    QCOMPARE(window->figure().panels.size(), std::size_t{1});
    QCOMPARE(window->figure().panels[0].title, std::string("p.ktt"));
    window->close();
  }

  // The observed curve 5 5 above 19 simulations j/100, -j/100: p = 1/20.
  void globalEnvelopeBoxDrawsTheBandOrSaysWhy() {
    const std::string ktt = dir_.write("g.ktt", "1 1 -1 5\r\n2 1 -1 5\r\n");
    dir_.write("g.dat", "10 10 1 1 2 19\n1 1\n");
    std::string tmp = "1 5\r\n2 5\r\n";
    for (int j = 1; j <= 19; ++j) {
      tmp += "1 " + std::to_string(j / 100.0) + "\r\n2 " +
             std::to_string(-j / 100.0) + "\r\n";
    }
    dir_.write("g.tmp", tmp);
    answers_->files = {ktt};
    frame_->action(kCmdPlotResult)->trigger();
    auto* window = frame_->findChild<PlotWindow*>();
    QVERIFY(window != nullptr);
    QCOMPARE(window->global_box()->text(), QStringLiteral("&Global envelope"));
    QVERIFY(!window->global_box()->isChecked());
    window->global_box()->setChecked(true);
    const FigurePanel& panel = window->figure().panels.at(0);
    QVERIFY(panel.global.has_value());
    QCOMPARE(panel.global->outside.size(), std::size_t{1});
    QVERIFY(window->windowTitle().endsWith(
        QStringLiteral("global ERL 95 %, p = 0.05")));
    QVERIFY(window->figure().default_output.ends_with("g_global.svg"));
    window->global_box()->setChecked(false);
    QVERIFY(!window->figure().panels.at(0).global.has_value());
    // A temporary file cut short: the box says why and stays unchecked.
    dir_.write("g.tmp", tmp.substr(0, tmp.size() / 2));
    window->global_box()->setChecked(true);
    QVERIFY(!window->global_box()->isChecked());
    QCOMPARE(answers_->box_texts(),
             std::vector<std::string>{
                 "g.tmp: QLOR - Temporary file incomplete or unreadable !"});
    QVERIFY(!window->figure().panels.at(0).global.has_value());
    window->close();
  }

  void fitsTheAvailableScreen() {
    const struct {
      QSize wanted;
      QRect available;
      QSize fitted;
    } cases[] = {
        {{820, 660}, {0, 0, 1280, 984}, {820, 660}},
        {{1220, 960}, {0, 0, 1280, 984}, {1220, 936}},  // 1280 x 1024
        {{1220, 960}, {0, 24, 800, 576}, {784, 528}},
    };
    for (const auto& c : cases) {
      QCOMPARE(fit_to_screen(c.wanted, c.available), c.fitted);
    }
    ResultFigure four;
    four.title = "x - cardinal sectors";
    for (const char* name : {"x_W4.ktt", "x_N4.ktt", "x_E4.ktt", "x_S4.ktt"}) {
      four.panels.push_back(
          {name, name, {{1, 2}, {1, 1}, {-1, -1}, {0.5, 0}}, std::nullopt});
    }
    PlotWindow window(four);
    const QSize room = window.screen()->availableGeometry().size();
    QVERIFY(window.width() <= room.width());
    QVERIFY(window.height() <= room.height());
  }

  void refusesAFileThatIsNoResult() {
    answers_->files = {dir_.write("bad.ktt", "1 2\n")};
    frame_->action(kCmdPlotResult)->trigger();
    QCOMPARE(
        answers_->box_texts(),
        std::vector<std::string>{
            "Cannot read bad.ktt: line 1 is not 't upper lower observed'"});
    QCOMPARE(answers_->boxes[0].icon, Icon::kStop);
    QVERIFY(frame_->findChild<PlotWindow*>() == nullptr);
    // A cancelled dialog opens nothing and says nothing.
    frame_->action(kCmdPlotResult)->trigger();
    QCOMPARE(answers_->boxes.size(), std::size_t{1});
  }

 private:
  std::unique_ptr<QtPlatform> platform_;
  std::unique_ptr<gui::testing::ScriptedAnswers> answers_;
  std::unique_ptr<CMainFrame> frame_;
  qlor::testing::TempDir dir_;
  FixedClock clock_{1700000000};
};

QTEST_MAIN(PlotWindowTest)
#include "plot_window_test.moc"
