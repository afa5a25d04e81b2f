#include "pages/answergroup.h"

#include "pages/itemrows.h"
#include "toolkit/placement.h"
#include "toolkit/radiogroup.h"
#include "toolkit/statictext.h"
#include "widgets/ledlittle.h"

#include <QGroupBox>

namespace {

// The value columns, and two lamp columns right of the second value. A lamp
// in a value column stands where that column's value would.
constexpr int kColumnA = 64;
constexpr int kColumnB = 164;
constexpr int kColumnC = 260;
constexpr int kLampColumnD = 220;
constexpr int kLampColumnE = 316;

constexpr int kValueWidth = 44;
// A 24-bit count with its sign.
constexpr int kWideValueWidth = 72;

enum class Kind { Value, WideValue, Lamp };

struct Cell
{
    int row; // the query's item in the " Command " group
    int left;
    Kind kind;
    const char *name;
    const char *initialText; // of values
    const char *labelName;   // nullptr: the row's query names it
    const char *caption;
};

constexpr Cell kCells[] = {
    {0, kColumnA, Kind::WideValue, "StaticMPos", "0", nullptr, nullptr},

    {1, kColumnA, Kind::Value, "StaticAcc", "0", "LblAcc", "Acc.:"},
    {1, kColumnB, Kind::Value, "StaticVRef", "0", "LblVRef", "VRef:"},
    {1, kColumnC, Kind::Value, "StaticVMax", "0", "LblVMax", "VMax:"},

    {2, kColumnA, Kind::Value, "StaticActA", "0", "LblActA", "Acc.:"},
    {2, kColumnB, Kind::Value, "StaticActV", "0", "LblActV", "VAct:"},
    {2, kLampColumnD, Kind::Lamp, "LedReference", nullptr, "LblReference", "Ref. Search"},
    {2, kLampColumnE, Kind::Lamp, "LedCorrection", nullptr, "LblCorrection", "Correction"},

    {3, kColumnA, Kind::Value, "StaticCurStand", "0", "LblCurStand", "Standby:"},
    {3, kColumnB, Kind::Value, "StaticCurConst", "0", "LblCurConst", "Const.:"},
    {3, kColumnC, Kind::Value, "StaticCurAccel", "0", "LblCurAcc", "Accel.:"},

    {4, kColumnA, Kind::WideValue, "StaticEncCount", "0", nullptr, nullptr},

    {5, kColumnA, Kind::Lamp, "LedLeftSw", nullptr, "LblLeftSw", "Left"},
    {5, kColumnB, Kind::Lamp, "LedRightSw", nullptr, "LblRightSw", "Right"},
    {5, kColumnC, Kind::Lamp, "LedRefSw", nullptr, "LblRefSw", "Reference"},

    {6, kColumnA, Kind::Value, "StaticVersion", "", "LblFwVersion", "Version:"},
    {6, kColumnB, Kind::Value, "StaticSerNo", "", "LblSerNo", "Temp.:"},
    {6, kLampColumnD, Kind::Lamp, "LedResetFlag", nullptr, "LblResetFlag", "Reset Flag"},
};

void addValue(QGroupBox *group, const RadioGroup *commandGroup, const Cell &cell)
{
    const int width = cell.kind == Kind::WideValue ? kWideValueWidth : kValueWidth;
    auto *value = Toolkit::placed(new StaticText(QLatin1String(cell.initialText), group), cell.name,
                                  {cell.left, ItemRows::rowTop(commandGroup, cell.row, ItemRows::kFieldHeight), width,
                                   ItemRows::kFieldHeight});
    if (cell.labelName)
        ItemRows::labelBefore(value, QLatin1String(cell.caption), cell.labelName);
}

void addLamp(QGroupBox *group, const RadioGroup *commandGroup, const Cell &cell)
{
    auto *lamp = new TLedLittle(group);
    lamp->setObjectName(QLatin1String(cell.name));
    lamp->move(cell.left, ItemRows::rowTop(commandGroup, cell.row, lamp->height()));
    lamp->setLedColor(lcBlack);
    lamp->setClicLedColor(lcDarkGray);
    lamp->setInterval(250);
    lamp->setBlink(false);
    ItemRows::labelAfter(lamp, QLatin1String(cell.caption), cell.labelName);
}

} // namespace

QGroupBox *addAnswerGroup(QWidget *sheet, const RadioGroup *commandGroup)
{
    QGroupBox *group = ItemRows::addRowGroup(sheet, QStringLiteral(" Last Answer "), "GrpAnswers", commandGroup);
    for (const Cell &cell : kCells) {
        if (cell.kind == Kind::Lamp)
            addLamp(group, commandGroup, cell);
        else
            addValue(group, commandGroup, cell);
    }
    return group;
}
