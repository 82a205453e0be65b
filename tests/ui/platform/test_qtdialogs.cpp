// The real boxes: captions, buttons and symbols as the system names them; texts decoded at the boundary.
#include "net/httpclient.h"
#include "settings/errors.h"
#include "settings/translate.h"
#include "support/fakes.h"
#include "ui/platform/errorreport.h"
#include "ui/platform/qtclock.h"
#include "ui/platform/qtdialogs.h"
#include "ui/platform/text.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QScopeGuard>
#include <QTimer>
#include <QtTest>

#include <functional>

using quintor::ui::QtDialogs;

namespace {

struct SeenBox {
    QString caption;
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
};

// Looks at the next message box once it is open, then presses the button with the given text
// (or closes it with Escape when the text is empty).
void answerNextBox(SeenBox& seen, const QString& press)
{
    QTimer::singleShot(0, [&seen, press] {
        QMessageBox* box = nullptr;
        QVERIFY(QTest::qWaitFor([&box] {
            box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            return box != nullptr;
        }));
        seen.caption = box->windowTitle();
        seen.text = box->text();
        seen.format = box->textFormat();
        seen.icon = box->icon();
        for (QAbstractButton* b : box->buttons())
            seen.buttons << b->text();
        if (press.isEmpty()) {
            QTest::keyClick(box, Qt::Key_Escape);
            return;
        }
        for (QAbstractButton* b : box->buttons())
            if (b->text() == press) b->click();
    });
}

} // namespace

class TestQtDialogs : public QObject {
    Q_OBJECT
private slots:
    void boxes_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("press");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<bool>("answer");
        const QString bestaetigen = QString::fromUtf8("Best\u00e4tigen");
        QTest::newRow("plain") << "message"
                               << "OK"
                               << "Quintor Velmar" << int(QMessageBox::NoIcon) << QStringList{"OK"} << true;
        QTest::newRow("information") << "information"
                                     << "OK"
                                     << "Informationen" << int(QMessageBox::Information) << QStringList{"OK"} << true;
        QTest::newRow("warning") << "warning"
                                 << "OK"
                                 << "Warnung" << int(QMessageBox::Warning) << QStringList{"OK"} << true;
        QTest::newRow("error") << "error"
                               << "OK"
                               << "Fehler" << int(QMessageBox::Critical) << QStringList{"OK"} << true;
        QTest::newRow("error yes") << "errorYesNo"
                                   << "&Ja"
                                   << "Fehler" << int(QMessageBox::Critical) << QStringList{"&Ja", "&Nein"} << true;
        QTest::newRow("error no") << "errorYesNo"
                                  << "&Nein"
                                  << "Fehler" << int(QMessageBox::Critical) << QStringList{"&Ja", "&Nein"} << false;
        QTest::newRow("information yes") << "informationYesNo"
                                         << "&Ja"
                                         << "Informationen" << int(QMessageBox::Information)
                                         << QStringList{"&Ja", "&Nein"} << true;
        QTest::newRow("confirm yes") << "confirmYesNo"
                                     << "&Ja" << bestaetigen << int(QMessageBox::Question)
                                     << QStringList{"&Ja", "&Nein"} << true;
        QTest::newRow("confirm escaped") << "confirmYesNo"
                                         << "" << bestaetigen << int(QMessageBox::Question)
                                         << QStringList{"&Ja", "&Nein"} << false;
        QTest::newRow("ok cancel, cancel")
            << "warningOkCancel"
            << "Abbrechen"
            << "Warnung" << int(QMessageBox::Warning) << QStringList{"OK", "Abbrechen"} << false;
        QTest::newRow("ok cancel, ok") << "warningOkCancel"
                                       << "OK"
                                       << "Warnung" << int(QMessageBox::Warning) << QStringList{"OK", "Abbrechen"}
                                       << true;
    }

    void boxes()
    {
        QFETCH(QString, kind);
        QFETCH(QString, press);
        QFETCH(QString, caption);
        QFETCH(int, icon);
        QFETCH(QStringList, buttons);
        QFETCH(bool, answer);
        QWidget parent;
        QtDialogs dialogs(&parent);
        const std::string text = "Gr\xFC\xDF"
                                 "e \x80 5";
        const std::map<QString, std::function<bool()>> call{
            {"message",
             [&] {
                 dialogs.message(text);
                 return true;
             }},
            {"information",
             [&] {
                 dialogs.information(text);
                 return true;
             }},
            {"warning",
             [&] {
                 dialogs.warning(text);
                 return true;
             }},
            {"error",
             [&] {
                 dialogs.error(text);
                 return true;
             }},
            {"errorYesNo", [&] { return dialogs.errorYesNo(text); }},
            {"confirmYesNo", [&] { return dialogs.confirmYesNo(text); }},
            {"informationYesNo", [&] { return dialogs.informationYesNo(text); }},
            {"warningOkCancel", [&] { return dialogs.warningOkCancel(text); }}};
        SeenBox seen;
        answerNextBox(seen, press);
        QCOMPARE(call.at(kind)(), answer);
        QCOMPARE(seen.caption, caption);
        QCOMPARE(seen.text, QString::fromUtf8("Gr\u00fc\u00dfe \u20ac 5"));
        QCOMPARE(int(seen.icon), icon);
        QCOMPARE(seen.buttons, buttons);
    }

    void englishCaptionAndButtons()
    {
        QVERIFY(quintor::useCatalogFile(QUINTOR_BUILD_CATALOG));
        const auto german = qScopeGuard([] { quintor::useGermanTexts(); });
        QWidget parent;
        QtDialogs dialogs(&parent);
        SeenBox seen;
        answerNextBox(seen, QStringLiteral("&No"));
        QVERIFY(!dialogs.confirmYesNo("x"));
        QCOMPARE(seen.caption, QStringLiteral("Confirm"));
        QCOMPARE(seen.buttons, (QStringList{"&Yes", "&No"}));
    }

    void markupInATextShowsAsItStands()
    {
        QWidget parent;
        QtDialogs dialogs(&parent);
        SeenBox seen;
        answerNextBox(seen, QStringLiteral("OK"));
        dialogs.message("Neues Spiel: <b>Siedler</b> <img src=\"http://example.org/x.png\">");
        QCOMPARE(seen.format, Qt::PlainText);
        QCOMPARE(seen.text, QStringLiteral("Neues Spiel: <b>Siedler</b> <img src=\"http://example.org/x.png\">"));
    }

    // Enter presses the default button; a box asked while the window is away in the tray is on its own.
    void enterPressesTheDefaultButton_data()
    {
        QTest::addColumn<bool>("startOnNo");
        QTest::addColumn<bool>("parentShown");
        QTest::addColumn<bool>("answer");
        QTest::newRow("Ja by default, window shown") << false << true << true;
        QTest::newRow("Nein when asked, window shown") << true << true << false;
        QTest::newRow("Nein when asked, window in the tray") << true << false << false;
    }

    void enterPressesTheDefaultButton()
    {
        QFETCH(bool, startOnNo);
        QFETCH(bool, parentShown);
        QFETCH(bool, answer);
        QWidget parent;
        if (parentShown) parent.show();
        QtDialogs dialogs(&parent);
        QWidget* boxParent = &parent;
        QTimer::singleShot(0, [&boxParent] {
            QMessageBox* box = nullptr;
            QVERIFY(QTest::qWaitFor([&box] {
                box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                return box != nullptr;
            }));
            boxParent = box->parentWidget();
            QTest::keyClick(box, Qt::Key_Return);
        });
        const bool yes = startOnNo ? dialogs.errorYesNo("Server entfernen?", quintor::DefaultButton::no)
                                   : dialogs.errorYesNo("Server entfernen?");
        QCOMPARE(yes, answer);
        QCOMPARE(boxParent, parentShown ? &parent : nullptr);
    }

    // A secondary window stands in for the main window, which hides while it is open: a box or the input box
    // asked from it opens over it, not over where the hidden main window last stood.
    void aBoxOpensOverTheWindowInUse()
    {
        QWidget mainWindow;
        QWidget editor;
        editor.show();
        QApplication::setActiveWindow(&editor);
        QTRY_COMPARE(QApplication::activeWindow(), &editor);
        QtDialogs dialogs(&mainWindow);
        QList<QWidget*> owners;
        const auto closeNext = [&owners] {
            QTimer::singleShot(0, [&owners] {
                QVERIFY(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }));
                auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                owners << dialog->parentWidget();
                dialog->reject();
            });
        };
        closeNext();
        QCOMPARE(dialogs.input("Neuer Filter", "Namen eingeben:", ""), std::optional<std::string>{});
        QApplication::setActiveWindow(&editor); // as the desktop gives it back when the box closes
        QTRY_COMPARE(QApplication::activeWindow(), &editor);
        closeNext();
        dialogs.errorYesNo("Filter l\xF6schen?");
        QCOMPARE(owners, (QList<QWidget*>{&editor, &editor}));
    }

    void closingForQuitAnswersNoAndShowsNoMore()
    {
        QWidget parent;
        QtDialogs dialogs(&parent);
        QTimer::singleShot(0, [&dialogs] {
            QVERIFY(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }));
            dialogs.closeForQuit();
        });
        QCOMPARE(dialogs.errorYesNo("Server entfernen?"), false);
        QCOMPARE(dialogs.confirmYesNo("noch eine?"), false); // not shown at all
        QCOMPARE(dialogs.input("a", "b", "c"), std::optional<std::string>{});
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void generalErrorReportShowsTheTextInAPlainBox()
    {
        quintor::test::ScriptedDialogs dialogs;
        quintor::ui::reportError(
            std::make_exception_ptr(quintor::ConversionError("'x' ist kein g\xFCltiger Integerwert")), dialogs);
        quintor::ui::reportError(
            std::make_exception_ptr(quintor::HttpError("abandoned", quintor::HttpError::Kind::Cancelled)),
            dialogs); // the end: no error
        quintor::ui::guarded(dialogs, [] { throw std::runtime_error("kaputt"); });
        QCOMPARE(dialogs.textsOf("message"),
                 (std::vector<std::string>{"'x' ist kein g\xFCltiger Integerwert", "kaputt"}));
        QCOMPARE(dialogs.shown.size(), std::size_t(2));
        // Any other failed request is reported as it comes.
        quintor::ui::reportError(std::make_exception_ptr(quintor::HttpError("HTTP request for u failed: HTTP 404",
                                                                            quintor::HttpError::Kind::Status)),
                                 dialogs);
        QCOMPARE(dialogs.textsOf("message").back(), std::string("HTTP request for u failed: HTTP 404"));
    }

    void filterAndTimeFormats()
    {
        QCOMPARE(quintor::ui::qtNameFilters("Text|*.txt"), QStringLiteral("Text (*.txt)"));
        QCOMPARE(quintor::ui::qtNameFilters("Text|*.txt|Alle|*.txt;*.log"),
                 QStringLiteral("Text (*.txt);;Alle (*.txt *.log)"));
        QCOMPARE(quintor::ui::withoutTimeZone("HH:mm:ss t"), QStringLiteral("HH:mm:ss"));
        QCOMPARE(quintor::ui::withoutTimeZone("h:mm:ss AP 'at' t"), QStringLiteral("h:mm:ss AP 'at'"));
        quintor::ui::QtClock clock;
        const std::string time = clock.longTime({2026, 12, 8, 17, 2, 6, 0});
        QVERIFY2(time.find("2") != std::string::npos && time.find("06") != std::string::npos, time.c_str());
    }

    void textsCrossTheBoundaryBothWays()
    {
        using quintor::ui::fromQt;
        using quintor::ui::toQt;
        QCOMPARE(toQt("Gr\xFCn \x80"), QString::fromUtf8("Gr\u00fcn \u20ac"));
        QCOMPARE(fromQt(QString::fromUtf8("B\u00e4r \u20ac")), std::string("B\xE4r \x80"));
        QCOMPARE(fromQt(QString::fromUtf8("\u4e2d")), std::string("?"));
        const std::string all = [] {
            std::string s;
            for (int b = 1; b < 256; ++b)
                s += static_cast<char>(b);
            return s;
        }();
        QCOMPARE(fromQt(toQt(all)), all);
    }
};

QTEST_MAIN(TestQtDialogs)
#include "test_qtdialogs.moc"
