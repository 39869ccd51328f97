// Whole runs driven through the window: Single File from the menu, Check &
// Analyse from its accelerator and the automatic run at the first repaint.
// Each must leave the files of its golden case byte for byte.
#include <QSignalSpy>
#include <QTest>
#include <clocale>
#include <filesystem>
#include <memory>

#include "app/commands.h"
#include "gui/main_frame.h"
#include "gui/progress_dialog.h"
#include "gui/qlor_view.h"
#include "scripted_answers.h"
#include "temp_dir.h"

using namespace qlor;
using namespace qlor::gui;
namespace fs = std::filesystem;

namespace {

const fs::path kData = QLOR_TEST_DATA_DIR;
const fs::path kSingleCase = kData / "golden" / "u_csr19_int";
const fs::path kBatchCase = kData / "golden_batch" / "check_analyse_two_faulty";
constexpr const char* kComplete = "C A L C U L A T I O N    C O M P L E T E  ";

// The window over a folder that is the current directory meanwhile (batch
// entries are relative to it), with the progress dialogs' status lines
// recorded at every repaint.
struct Session {
  qlor::testing::TempDir dir;
  fs::path saved = fs::current_path();
  QtPlatform platform;
  gui::testing::ScriptedAnswers answers{platform};
  FixedClock clock{1700000001};
  std::unique_ptr<CMainFrame> frame;
  int dialogs = 0;
  bool shown = false;
  QStringList texts;  // "control: text"

  explicit Session(const fs::path& inputs) {
    for (const auto& entry : fs::directory_iterator(inputs)) {
      fs::copy_file(entry.path(), dir.path() / entry.path().filename());
    }
    fs::current_path(dir.path());
    QObject::connect(&platform, &QtPlatform::progressCreated,
                     [this](ProgressWindow* dialog) {
                       ++dialogs;
                       QObject::connect(dialog, &ProgressWindow::repainted,
                                        [this, dialog] { record(*dialog); });
                     });
  }
  ~Session() { fs::current_path(saved); }

  // The expected files were made with the historical generator, which the
  // configuration file chooses ahead of the case's own lines.
  void open(const std::string& ini) {
    const fs::path config = dir.path() / "qlor.ini";
    const std::string lines = ini.empty() && fs::exists(config)
                                  ? qlor::testing::read_bytes(config)
                                  : ini;
    dir.write("qlor.ini", "GENERATOR=classic\n" + lines);
    frame = std::make_unique<CMainFrame>(platform, clock, "qlor.ini");
  }
  void record(const ProgressWindow& dialog) {
    shown = shown || dialog.isVisible();
    for (int control : {kTextRun, kTextFile, kTextAll}) {
      if (dialog.text(control).isEmpty()) continue;
      texts << QString::number(control) + ": " + dialog.text(control);
    }
  }
  // Every output file of the case matches, and something was compared.
  void compare_outputs(const fs::path& expected) const {
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(expected)) {
      if (entry.path().extension() == ".dat") continue;
      const auto name = entry.path().filename();
      QVERIFY2(qlor::testing::read_bytes(dir.path() / name) ==
                   qlor::testing::read_bytes(entry.path()),
               name.c_str());
      ++compared;
    }
    QVERIFY(compared > 0);
  }
};

}  // namespace

class GuiRunTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { std::setlocale(LC_NUMERIC, "C"); }

  void singleFileFromTheMenu() {
    Session s(kSingleCase);
    s.open("SIGNIFICANCE=3\nPROGRESS_CTRL_BAR=0\n");
    s.frame->show();
    s.answers.files = {s.dir.file("u_csr19_int.dat")};
    s.frame->action(kCmdFileOpen)->trigger();
    QCOMPARE(s.frame->windowTitle(), QStringLiteral("QLOR - u_csr19_int.dat"));
    s.frame->action(kCmdSingleFile)->trigger();

    // The parameter summary (Yes/No, answered Yes), then completion.
    QCOMPARE(s.answers.boxes.size(), size_t{2});
    QVERIFY(s.answers.boxes[0].buttons == Buttons::kYesNo);
    QCOMPARE(s.answers.boxes[1].text, std::string(kComplete));
    QVERIFY(s.answers.boxes[1].icon == Icon::kNone);
    s.compare_outputs(kSingleCase);
    // 40 points, 20 distances, 20 patterns: 640000 i-j calculations,
    // 5% a pattern.
    QCOMPARE(s.dialogs, 1);
    QVERIFY(s.shown);
    QVERIFY(s.texts.contains(QStringLiteral("131: Status: 5% done")));
    QCOMPARE(s.texts.last(),
             QStringLiteral("131: Status: Calculation complete"));
  }

  void checkAndAnalyseFromTheAccelerator() {
    Session s(kBatchCase / "input");
    s.open({});
    s.frame->show();
    s.frame->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(s.frame.get()));
    s.answers.files = {"batch.bat"};
    QTest::keyClick(s.frame.get(), Qt::Key_A, Qt::ControlModifier);

    QVERIFY(s.answers.files.empty());  // the open-batch dialog was asked
    QCOMPARE(s.answers.boxes.back().text, std::string(kComplete));
    s.compare_outputs(kBatchCase / "expected");
    QCOMPARE(s.dialogs, 1);  // one two-bar dialog for the whole batch
    QVERIFY(s.texts.contains(
        QStringLiteral("134: FILE: u_csr19_int.dat  -  Status: 100% done")));
  }

  void automaticRunAtTheFirstRepaint() {
    Session s(kSingleCase);
    const std::string path = s.dir.file("u_csr19_int.dat");
    s.open("AUTORUN=1\nINFILE=" + path + "\nSIGNIFICANCE=3\n");
    QSignalSpy titles(&s.platform, &QtPlatform::titleChanged);
    QSignalSpy done(&s.frame->view(), &gui::CQLOR_View::autorunDone);
    s.frame->show();
    QTRY_COMPARE(done.count(), 1);

    QCOMPARE(titles.count(), 2);
    QCOMPARE(titles[0][0].toString(), "QLOR - " + QString::fromStdString(path));
    QCOMPARE(s.frame->windowTitle(), QStringLiteral("QLOR - Qlorfield"));
    QVERIFY(s.answers.boxes.empty());
    s.compare_outputs(kSingleCase);
  }
};

QTEST_MAIN(GuiRunTest)
#include "gui_run_test.moc"
