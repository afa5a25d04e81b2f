#include "toolkit/editmask.h"

namespace {

const QChar blank = QLatin1Char(' ');

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
        || (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}

} // namespace

EditMask::EditMask(const QString &mask)
{
    for (const QChar c : mask) {
        if (c == QLatin1Char('>'))
            m_upperCase = true;
        else if (c == QLatin1Char('0'))
            m_positions.append(Position::Digit);
        else
            m_positions.append(Position::LetterOrDigit);
    }
}

bool EditMask::isComplete(const QString &text) const
{
    return text.size() == length() && !text.contains(blank);
}

bool EditMask::accepts(Position position, QChar c) const
{
    if (c == blank || isAsciiDigit(c))
        return true;
    return position == Position::LetterOrDigit && isAsciiLetter(c);
}

bool EditMask::writeAt(QString &text, qsizetype &position, const QString &chars) const
{
    for (const QChar c : chars) {
        if (position >= length())
            break;
        if (!accepts(m_positions.at(position), c))
            return false;
        text[position++] = m_upperCase ? c.toUpper() : c;
    }
    return true;
}

EditMask::Edit EditMask::apply(const QString &before, const QString &after, int cursor) const
{
    const QString unchanged = before.leftJustified(length(), blank, true);
    const auto refused = [&](qsizetype at) {
        return Edit{unchanged, int(qBound(qsizetype(0), at, qsizetype(length()))), true};
    };

    // An edit that keeps the length changed characters in place: the
    // program's writes, typing over a selection, and the masked results of
    // this function coming back.
    if (after.size() == length()) {
        QString text = blankText();
        qsizetype position = 0;
        if (!writeAt(text, position, after))
            return refused(cursor);
        return {text, int(qBound(0, cursor, length())), false};
    }

    const qsizetype untouchedTail = after.size() - cursor;
    if (cursor < 0 || untouchedTail < 0 || untouchedTail > before.size()
        || before.right(untouchedTail) != after.right(untouchedTail))
        return refused(cursor);

    const qsizetype removedEnd = before.size() - untouchedTail;
    qsizetype start = 0;
    while (start < cursor && start < removedEnd && before.at(start) == after.at(start))
        ++start;
    const QString inserted = after.mid(start, cursor - start);

    QString text = unchanged;
    for (qsizetype i = start; i < removedEnd && i < length(); ++i)
        text[i] = blank;
    qsizetype position = start;
    if (!writeAt(text, position, inserted) || (!inserted.isEmpty() && position == start))
        return refused(start);
    return {text, int(position), false};
}
