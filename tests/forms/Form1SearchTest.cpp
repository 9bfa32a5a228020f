// The main window's search: the start state, the Arabic prompt, the result area it uncovers and
// the extension shown at the end of the sentence. The lookup answers from a recording fake.

#include "FakePlatform.h"
#include "Form1Driver.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>

namespace {

// Where the sentence's letters begin, read from its pixels: the leftmost column that differs
// from the background, in the window's client coordinates.
int inkLeft(QWidget& label)
{
    const QImage image = label.grab().toImage();
    const QColor background = image.pixelColor(0, 0);
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixelColor(x, y) != background)
                return label.x() + x;
    return label.x() + label.width();
}

} // namespace

class Form1SearchTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        qimlar::toolkit::Global<qimlar::Form1>::Unload();
        processDeferredDeletes();
    }

    void opensInTheStartState();
    void thePathBoxFontAndTheTabOrder();
    void theSearchAsksThroughAnArabicPromptAndUncoversTheResult();
    void label3ShowsTheExtensionAsTyped_data();
    void label3ShowsTheExtensionAsTyped();
    void theExtensionStandsLeftOfTheSentenceItEnds();
    void theButtonsAreFlatPink();
};

void Form1SearchTest::opensInTheStartState()
{
    FakePlatform platform;
    qimlar::Form1 form(platform);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    // The client area below the menu bar is the picture's size, as WindowTextsTest has it.
    QCOMPARE(form.centralWidget()->size(), control<QLabel>(form, "Image1")->pixmap().size());
    QCOMPARE(form.height(), form.menuBar()->height() + form.centralWidget()->height());
    QCOMPARE(form.minimumSize(), form.maximumSize());

    for (const char* shown : {"Image1", "Command1", "Command3"})
        QVERIFY2(control(form, shown)->isVisible(), shown);
    for (const char* hidden : {"Text1", "Label1", "Label2", "Label3", "Command2"})
        QVERIFY2(!control(form, hidden)->isVisible(), hidden);
    QVERIFY(platform.calls.empty());
}

void Form1SearchTest::thePathBoxFontAndTheTabOrder()
{
    FakePlatform platform;
    qimlar::Form1 form(platform);

    const QFont pathFont = control(form, "Text1")->font();
    QCOMPARE(pathFont.pointSizeF(), 8.25);
    const QString shownFamily = QFontInfo(pathFont).family();
    QVERIFY2(underWine() ||
                 QFontDatabase::writingSystems(shownFamily).contains(QFontDatabase::Arabic),
             qPrintable(shownFamily));

    QStringList tabOrder;
    QWidget* next = control(form, "Command1");
    for (int i = 0; i < 40 && tabOrder.size() < 4; ++i, next = next->nextInFocusChain())
        if (next->focusPolicy() & Qt::TabFocus)
            tabOrder << next->objectName();
    QCOMPARE(tabOrder, (QStringList{"Command1", "Text1", "Command2", "Command3"}));
}

void Form1SearchTest::theSearchAsksThroughAnArabicPromptAndUncoversTheResult()
{
    FakePlatform platform;
    qimlar::Form1 form(platform);
    form.show();
    const QList<QList<int>> before{twips(form, "Command1"), twips(form, "Command3")};

    for (int round = 0; round < 2; ++round) {
        search(form, [](QInputDialog& prompt) {
            QCOMPARE(prompt.windowTitle(), QStringLiteral("Qimlar"));
            QCOMPARE(prompt.labelText().size(), 54);
            QVERIFY(prompt.labelText().isRightToLeft());
            QCOMPARE(prompt.layoutDirection(), Qt::RightToLeft);
            QVERIFY(prompt.textValue().isEmpty());
            const auto buttons = prompt.findChild<QDialogButtonBox*>()->buttons();
            QCOMPARE(buttons.size(), 2);
            for (QAbstractButton* button : buttons) {
                QVERIFY2(button->text().isRightToLeft(), qPrintable(button->text()));
                QVERIFY(button->icon().isNull());
            }
            prompt.setTextValue(QStringLiteral("mp3"));
            prompt.accept();
        });

        QCOMPARE(control<QPlainTextEdit>(form, "Text1")->toPlainText(),
                 QStringLiteral("/usr/bin/mpv"));
        // The buttons move to the window's named places; their sizes stay.
        QCOMPARE(twips(form, "Command1"),
                 (QList<int>{before.at(0).at(0), qimlar::Form1::searchedCommand1Top,
                             before.at(0).at(2), before.at(0).at(3)}));
        QCOMPARE(twips(form, "Command3"), (QList<int>{qimlar::Form1::searchedCommand3Left,
                                                      qimlar::Form1::searchedCommand3Top,
                                                      before.at(1).at(2), before.at(1).at(3)}));
        for (const char* shown : {"Text1", "Label1", "Label2", "Label3", "Command2"})
            QVERIFY2(control(form, shown)->isVisible(), shown);
        QVERIFY(control(form, "Command2")->isEnabled());
    }
    QCOMPARE(platform.calls.at(3), std::string("find /tmp/~k3vq.mp3"));
}

void Form1SearchTest::label3ShowsTheExtensionAsTyped_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("probe");
    // clang-format off
    QTest::newRow("mp3")              << false << "mp3"  << "mp3."  << "/tmp/~k3vq.mp3";
    QTest::newRow("with its dot")     << false << ".mp3" << ".mp3." << "/tmp/~k3vq..mp3";
    QTest::newRow("capitals, spaces") << false << " MP3" << " MP3." << "/tmp/~k3vq. MP3";
    QTest::newRow("cancel")           << true  << "mp3"  << "."     << "/tmp/~k3vq.";
    // clang-format on
}

void Form1SearchTest::label3ShowsTheExtensionAsTyped()
{
    QFETCH(bool, cancel);
    QFETCH(QString, typed);
    FakePlatform platform;
    qimlar::Form1 form(platform);
    form.show();

    search(form, [&](QInputDialog& prompt) {
        prompt.setTextValue(typed);
        if (cancel)
            prompt.reject();
        else
            prompt.accept();
    });
    auto* label3 = control<QLabel>(form, "Label3");
    QTEST(label3->text(), "label");
    QVERIFY(label3->x() + label3->width() <= 179);
    QCOMPARE(label3->size(), label3->sizeHint());
    QFETCH(QString, probe);
    QCOMPARE(QString::fromStdString(platform.calls.at(3)), QStringLiteral("find ") + probe);
}

void Form1SearchTest::theExtensionStandsLeftOfTheSentenceItEnds()
{
    FakePlatform platform;
    qimlar::Form1 form(platform);
    form.show();
    auto* sentence = control<QLabel>(form, "Label2");
    auto* label3 = control<QLabel>(form, "Label3");
    // The sentence's box holds all of it, in whatever font this machine draws it.
    QVERIFY(sentence->width() >= sentence->sizeHint().width());
    QCOMPARE(sentence->x() + sentence->width(), 337);

    if (underWine())
        QSKIP("Wine draws Arabic in a face of other widths than the windows' own");
    searchFor(form, QStringLiteral("mp3"));
    const int rightEdge = label3->x() + label3->width();
    // Where the definition ends it, or further left when the sentence needs the room.
    QVERIFY(rightEdge <= 179 && rightEdge > 150);
    QVERIFY2(rightEdge <= inkLeft(*sentence), qPrintable(QString::number(inkLeft(*sentence))));
    // Laid out right to left like the sentence it ends: the full stop stands at the left end, as
    // a plain label would show the mirrored text.
    QLabel mirrored(QStringLiteral(".mp3"), form.centralWidget());
    mirrored.setPalette(label3->palette());
    mirrored.setAlignment(label3->alignment());
    mirrored.resize(label3->size());
    QCOMPARE(label3->grab().toImage(), mirrored.grab().toImage());

    for (int length = 1; length <= 10; ++length) {
        searchFor(form, QStringLiteral("MWMWMWMWMW").left(length));
        QCOMPARE(label3->x() + label3->width(), rightEdge);
        QCOMPARE(label3->width(), label3->sizeHint().width());
        QCOMPARE(label3->y(), sentence->y());
    }
}

void Form1SearchTest::theButtonsAreFlatPink()
{
    FakePlatform platform;
    qimlar::Form1 form(platform);
    form.show();
    searchFor(form, QStringLiteral("mp3"));
    for (const char* name : {"Command1", "Command2", "Command3"}) {
        QWidget* button = control(form, name);
        const QImage face = button->grab().toImage();
        for (const QPoint at : {QPoint(button->width() / 2, 3), QPoint(3, button->height() / 2),
                                QPoint(button->width() / 2, button->height() - 4)})
            QVERIFY2(face.pixelColor(at) == QColor(255, 192, 192), name);
    }
}

int main(int argc, char* argv[])
{
    return runQtTests<Form1SearchTest>(argc, argv);
}

#include "Form1SearchTest.moc"
