#pragma once

#include <QList>
#include <QString>

// The fixed-length layout of a masked entry: one required position per mask
// character, "A" a letter or digit, "0" a digit; a leading ">" upper-cases
// the letters. A position not yet filled holds a blank (a space).
//
// Typing overwrites: an edit of the text is turned into "the positions it
// removed become blanks, the characters it inserted are written over the
// positions from where it started", so the text keeps its length and the
// positions right of the edit keep their place.
class EditMask
{
public:
    explicit EditMask(const QString &mask);

    int length() const { return int(m_positions.size()); }
    QString blankText() const { return QString(length(), QLatin1Char(' ')); }
    bool isComplete(const QString &text) const;

    struct Edit
    {
        QString text;
        int cursor;
        // The edit did not fit and text is `before` unchanged: a character
        // its position does not take, no character placed at all, or a
        // change away from the cursor.
        bool refused;
    };

    // The masked result of an edit that turned `before` (a masked text) into
    // `after` with the cursor at `cursor`, as a line edit reports it: the
    // text right of the cursor is what the edit left untouched. Characters
    // beyond the last position are dropped.
    Edit apply(const QString &before, const QString &after, int cursor) const;

private:
    enum class Position { LetterOrDigit, Digit };

    bool accepts(Position position, QChar c) const;
    // Writes chars over text from position on, dropping those past the end;
    // false when one does not fit its position.
    bool writeAt(QString &text, qsizetype &position, const QString &chars) const;

    QList<Position> m_positions;
    bool m_upperCase = false;
};
