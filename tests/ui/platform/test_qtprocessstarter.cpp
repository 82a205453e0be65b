// Starting the game: directly when executable, through wine when it is a Windows program, never
// through a shell; and a join that really starts a stub game.
#include "launch/gamefolder.h"
#include "support/fakes.h"
#include "support/tempfolder.h"
#include "ui/platform/qtprocessstarter.h"
#include "ui/platform/text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

#include <filesystem>

using quintor::ProcessCommand;
using quintor::test::ScriptedDialogs;
using quintor::test::TempFolder;
using quintor::ui::planStart;
using quintor::ui::QtProcessStarter;

namespace {

namespace fs = std::filesystem;

void writeFile(const std::string& path, const std::string& bytes, bool executable)
{
    fs::create_directories(fs::path(path).parent_path());
    QFile file(quintor::ui::pathToQt(path));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    file.close();
    auto perms = fs::perms::owner_read | fs::perms::owner_write;
    if (executable) perms |= fs::perms::owner_exec;
    fs::permissions(path, perms);
}

// A program that writes its arguments, one a line, and then its working folder to `record`; the
// record appears whole (written aside, then renamed).
std::string recordingScript(const std::string& record)
{
    return "#!/bin/sh\n"
           "{ printf '%s\\n' \"$@\"; printf 'PWD=%s\\n' \"$(pwd -P)\"; } > '" +
           record + ".part' && mv '" + record + ".part' '" + record + "'\n";
}

const std::string windowsProgram = std::string("MZ\x90\0\x03\0\0\0", 8) + "This program cannot be run in DOS mode.";

QStringList readRecord(const std::string& record)
{
    QFile file(quintor::ui::pathToQt(record));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromLocal8Bit(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

QString canonical(const std::string& folder)
{
    return QFileInfo(quintor::ui::pathToQt(folder)).canonicalFilePath();
}

// Puts a folder in front of PATH for one test.
class PathPrefix {
public:
    explicit PathPrefix(const std::string& folder) : saved_(qgetenv("PATH"))
    {
        qputenv("PATH", QByteArray::fromStdString(folder) + ':' + saved_);
    }
    ~PathPrefix() { qputenv("PATH", saved_); }

private:
    QByteArray saved_;
};

} // namespace

class TestQtProcessStarter : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
#ifdef Q_OS_WIN
        QSKIP("the shell's open verb starts programs on Windows");
#endif
    }

    void executableIsStartedItself()
    {
        TempFolder temp;
        const std::string folder = temp.path() + "Clonk Rage/";
        writeFile(folder + "Clonk.exe", recordingScript(temp.file("r")), true);
        const auto plan = planStart({folder + "Clonk.exe", {"/fullscreen", "/join:1.2.3.4"}, folder});
        QVERIFY(plan);
        QCOMPARE(plan->program, quintor::ui::pathToQt(folder + "Clonk.exe"));
        QCOMPARE(plan->arguments, (QStringList{"/fullscreen", "/join:1.2.3.4"}));
        QCOMPARE(plan->workingFolder, quintor::ui::pathToQt(folder));
    }

    void windowsProgramGoesThroughWine()
    {
        TempFolder temp;
        writeFile(temp.file("bin/wine"), recordingScript(temp.file("r")), true);
        writeFile(temp.file("game/Clonk.exe"), windowsProgram, false);
        PathPrefix path(temp.file("bin"));
        const auto plan = planStart({temp.file("game/Clonk.exe"), {"/fullscreen", "/join:h"}, temp.file("game")});
        QVERIFY(plan);
        QCOMPARE(QFileInfo(plan->program).canonicalFilePath(), canonical(temp.file("bin/wine")));
        QCOMPARE(plan->arguments,
                 (QStringList{quintor::ui::pathToQt(temp.file("game/Clonk.exe")), "/fullscreen", "/join:h"}));
    }

    void nothingStartableIsNotStarted_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("executable");
        QTest::addColumn<bool>("exists");
        QTest::newRow("text file") << QByteArray("just text") << false << true;
        QTest::newRow("windows program, no wine") << QByteArray::fromStdString(windowsProgram) << false << true;
        QTest::newRow("missing") << QByteArray() << false << false;
    }
    void nothingStartableIsNotStarted()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, executable);
        QFETCH(bool, exists);
        TempFolder temp;
        fs::create_directories(temp.file("emptybin"));
        const QByteArray savedPath = qgetenv("PATH");
        qputenv("PATH", QByteArray::fromStdString(temp.file("emptybin"))); // no wine to be found
        if (exists) writeFile(temp.file("Clonk.exe"), content.toStdString(), executable);
        const bool planned = planStart({temp.file("Clonk.exe"), {"/fullscreen"}, temp.path()}).has_value();
        qputenv("PATH", savedPath);
        QVERIFY(!planned);
    }

    void joinStartsTheGameWithTheHostAndTheGameFolder()
    {
        TempFolder temp;
        const std::string folder = temp.path() + "Clonk Rage";
        const std::string record = temp.file("args.txt");
        writeFile(folder + "/Clonk.exe", recordingScript(record), true);

        ScriptedDialogs dialogs;
        const quintor::TextList config({"crdir=" + folder});
        const quintor::GameFolderSearch search{config, temp.file("app/"), {}, dialogs};
        quintor::GameRecord game;
        game.IPs = {"10.0.0.5"};
        game.AddressCount = 1;
        game.Item = 7;
        QtProcessStarter starter;
        quintor::joinGameOfRow({game}, 7, search, starter);

        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(quintor::ui::pathToQt(record)), 10000);
        QCOMPARE(readRecord(record), (QStringList{"/fullscreen", "/join:10.0.0.5", "PWD=" + canonical(folder)}));
        QVERIFY(dialogs.shown.empty());
    }

    void windowsGameStartsThroughWine()
    {
        TempFolder temp;
        const std::string record = temp.file("wine-args.txt");
        writeFile(temp.file("bin/wine"), recordingScript(record), true);
        writeFile(temp.file("cr/Clonk.exe"), windowsProgram, false);
        PathPrefix path(temp.file("bin"));

        QtProcessStarter starter;
        starter.start(quintor::gameExecutable(temp.file("cr/"), "/join:10.0.0.5"));

        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(quintor::ui::pathToQt(record)), 10000);
        QCOMPARE(readRecord(record), (QStringList{quintor::ui::pathToQt(temp.file("cr/Clonk.exe")), "/fullscreen",
                                                  "/join:10.0.0.5", "PWD=" + canonical(temp.file("cr"))}));
    }
};

QTEST_MAIN(TestQtProcessStarter)
#include "test_qtprocessstarter.moc"
