#include "app/replyview.h"

#include "toolkit/checkbox.h"
#include "toolkit/combolist.h"
#include "toolkit/maskedit.h"
#include "toolkit/spinedit.h"
#include "toolkit/statictext.h"
#include "widgets/ledlittle.h"

#include <QTest>

using Protocol::ReplyFrame;

namespace {

template <typename Control>
Control *named(Control *control, const char *name)
{
    control->setObjectName(QLatin1String(name));
    return control;
}

// A stand-in for the pages: one control of every kind the decoding writes.
// There is no "StaticActA" here, and no "StaticActV".
struct Form
{
    QWidget window;
    SpinEdit *prediv = named(new SpinEdit(&window), "EditPrediv");
    SpinEdit *wave = named(new SpinEdit(&window), "EditMStepWave");
    SpinEdit *resolution = named(new SpinEdit(&window), "EditMStepRes");
    CheckBox *mixedDecay = named(new CheckBox(QString(), &window), "CheckMixedDecay");
    ComboList *currentLimit = named(new ComboList({"a", "b", "c", "d"}, &window), "CbCurrentLimit");
    MaskEdit *receiveId = named(new MaskEdit(QStringLiteral(">AAAAAAAA"), &window), "EditReceiveID");
    StaticText *position = named(new StaticText(QString(), &window), "StaticMPos");
    TLedLittle *left = named(new TLedLittle(&window), "LedLeftSw");
    TLedLittle *right = named(new TLedLittle(&window), "LedRightSw");
    TLedLittle *reference = named(new TLedLittle(&window), "LedReference");

    Form()
    {
        prediv->setRange(0, 16);
        wave->setRange(-128, 127);
        resolution->setRange(0, 7);
        currentLimit->setItemIndex(1);
    }

    // What the controls show, in one line.
    QString shown() const
    {
        const auto led = [](const TLedLittle *l) {
            return l->LedColor() == lcCyan ? "lit" : l->LedColor() == lcDarkCyan ? "unlit" : "black";
        };
        return QStringLiteral("prediv %1, wave %2, res %3, decay %4, limit %5, id '%6', pos '%7', leds %8 %9 %10")
            .arg(prediv->Value())
            .arg(wave->Value())
            .arg(resolution->Value())
            .arg(mixedDecay->isChecked() ? "ticked" : "clear")
            .arg(currentLimit->ItemIndex())
            .arg(receiveId->text(), position->text(), led(left), led(right), led(reference));
    }
};

ReplyFrame reply(const char *hex)
{
    const QByteArray bytes = QByteArray::fromHex(hex);
    ReplyFrame frame;
    std::copy(bytes.cbegin(), bytes.cend(), frame.bytes.begin());
    return frame;
}

} // namespace

class TestReplyView : public QObject
{
    Q_OBJECT

private slots:
    void writesThroughTheControlsOwnSetters_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("shown");
        // What no reply touched shows; the empty masked edit reads as its eight blanks.
        const QString untouched =
            "prediv 0, wave 0, res 0, decay clear, limit 1, id '        ', pos '', leds black black black";
        QTest::newRow("spin edit limits the value to its range")
            << "1200280000000000" << QString(untouched).replace("prediv 0", "prediv 16");
        QTest::newRow("spin edits and check box")
            << "170003FB00000100"
            << QString(untouched).replace("wave 0, res 0, decay clear", "wave -5, res 3, decay ticked");
        QTest::newRow("index beyond the list leaves no selection")
            << "1000070000000000" << QString(untouched).replace("limit 1", "limit -1");
        QTest::newRow("masked edit text")
            << "5500CDAB34120000" << QString(untouched).replace("id '        '", "id '1234ABCD'");
        QTest::newRow("static text") << "2000FFFFFF000000" << QString(untouched).replace("pos ''", "pos '-1'");
        QTest::newRow("LEDs lit only by a set flag")
            << "3000010200000000" << QString(untouched).replace("leds black black", "leds lit unlit");
        QTest::newRow("missing fields passed over")
            << "2100FF1F00000100" << QString(untouched).replace("black black black", "black black lit");
        QTest::newRow("reply without decoding") << "8101020304050607" << untouched;
    }
    void writesThroughTheControlsOwnSetters()
    {
        QFETCH(QString, reply);
        QFETCH(QString, shown);
        Form form;
        ReplyView(form.window).show(::reply(reply.toLatin1().constData()));
        QCOMPARE(form.shown(), shown);
    }
};

QTEST_MAIN(TestReplyView)
#include "test_replyview.moc"
