// Hostile texts (a game title, a notice) through every way the program shows a text: each shows as it
// stands, and markup in it is never acted on. A title naming a named pipe as an image would make Qt
// open the pipe; a watcher notices that open, so the test fails instead of freezing.
#include "support/tempfolder.h"
#include "ui/platform/elidinglabel.h"
#include "ui/platform/qtdialogs.h"
#include "ui/platform/text.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTextDocument>
#include <QTimer>
#include <QToolTip>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace quintor;

namespace {

// Notices when anything opens the pipe for reading, and lets such a reader go at once.
class PipeWatch {
public:
    explicit PipeWatch(std::string path) : path_(std::move(path))
    {
        ::mkfifo(path_.c_str(), 0600);
        thread_ = std::thread([this] {
            while (!stop_) {
                // Opening for writing without blocking succeeds only while a reader has it open.
                const int fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    opened_ = true;
                    ::close(fd);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
    }
    ~PipeWatch()
    {
        stop_ = true;
        thread_.join();
    }
    PipeWatch(const PipeWatch&) = delete;
    PipeWatch& operator=(const PipeWatch&) = delete;

    bool opened() const { return opened_; }

private:
    std::string path_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> opened_{false};
    std::thread thread_;
};

// What a text in markup comes to on the screen.
QString shownText(const QString& markup)
{
    QTextDocument document;
    document.setHtml(markup);
    return document.toPlainText();
}

template <typename Dialog> Dialog* openModal()
{
    Dialog* dialog = nullptr;
    static_cast<void>(QTest::qWaitFor([&dialog] {
        dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        return dialog != nullptr;
    }));
    return dialog;
}

} // namespace

class TestPlainText : public QObject {
    Q_OBJECT
private slots:
    // The status bar's text: longer than its room, it ends with "…" where the room ends and shows whole, as it
    // stands, in its tooltip; it never asks the window for its own width.
    void aLongLineEndsWhereItsLabelEndsAndShowsWholeInItsTooltip()
    {
        QWidget window;
        auto* label = new quintor::ui::ElidingLabel(&window);
        label->setFixedWidth(160);
        const QString whole = QStringLiteral("<b>http://example.org/") + QString(200, QLatin1Char('x')) +
                              QStringLiteral("</b> antwortet nicht");
        label->setWholeText(whole);
        QCOMPARE(label->text(), whole);
        QVERIFY2(label->shownText().endsWith(QChar(0x2026)), qPrintable(label->shownText()));
        QVERIFY(label->fontMetrics().horizontalAdvance(label->shownText()) <= label->contentsRect().width());
        QCOMPARE(shownText(label->toolTip()), whole);
        QVERIFY(label->minimumSizeHint().width() < 160);

        label->setWholeText(QStringLiteral("Bereit"));
        QCOMPARE(label->shownText(), QStringLiteral("Bereit"));
        QVERIFY(label->toolTip().isEmpty());
    }

    void hostileTextsShowAsTheyStand_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("title");
        for (const char* path : {"box", "input prompt", "label", "label made elsewhere", "tooltip", "balloon"}) {
            for (const char* title : {"<b>Pro</b>", "<img src=PIPE>", "&amp;"})
                QTest::newRow((std::string(path) + ": " + title).c_str())
                    << QString::fromLatin1(path) << QString::fromLatin1(title);
        }
    }

    void hostileTextsShowAsTheyStand()
    {
        QFETCH(QString, path);
        QFETCH(QString, title);
        test::TempFolder folder;
        const std::string pipe = folder.file("pipe");
        title.replace(QStringLiteral("PIPE"), QString::fromStdString(pipe));
        PipeWatch watch(pipe);
        QWidget parent;
        ui::QtDialogs dialogs(&parent);
        QString shown;

        if (path == "box") {
            QTimer::singleShot(0, [&shown] {
                QMessageBox* box = openModal<QMessageBox>();
                QVERIFY(box);
                box->grab(); // lays the text out, as showing it does
                shown = box->textFormat() == Qt::PlainText ? box->text() : shownText(box->text());
                box->accept();
            });
            dialogs.message(ui::fromQt(title));
        } else if (path == "input prompt") {
            QTimer::singleShot(0, [&shown] {
                QInputDialog* dialog = openModal<QInputDialog>();
                QVERIFY(dialog);
                dialog->grab();
                const QLabel* label = dialog->findChild<QLabel*>();
                QVERIFY(label);
                shown = label->textFormat() == Qt::PlainText ? label->text() : shownText(label->text());
                dialog->reject();
            });
            dialogs.input("Neue Gruppe", ui::fromQt(title), "");
        } else if (path == "label" || path == "label made elsewhere") {
            QLabel* label = path == "label" ? ui::plainLabel(title, &parent) : new QLabel(&parent);
            if (path != "label") ui::setPlainText(*label, title);
            label->grab();
            shown = label->textFormat() == Qt::PlainText ? label->text() : shownText(label->text());
        } else if (path == "tooltip") {
            parent.show();
            QToolTip::showText(parent.mapToGlobal(QPoint(5, 5)), ui::plainToolTip(title), &parent);
            QTRY_VERIFY(QToolTip::isVisible());
            shown = shownText(QToolTip::text());
            QToolTip::hideText();
        } else if (path == "balloon") {
            // The notification service reads the body as markup.
            shown = shownText(ui::notificationText(title));
        }

        QCOMPARE(shown, title);
        QVERIFY2(!watch.opened(), "the text's markup made Qt open a file");
    }
};

QTEST_MAIN(TestPlainText)
#include "test_plaintext.moc"
