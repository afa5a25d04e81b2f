#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace Installer {

// Cuts a byte stream into lines the way text files are read: LF, CRLF and a
// lone CR each end a line, and a Ctrl-Z at the start of a line ends the text.
// Only the first maxLineLength bytes of a line are kept; a line is handed out
// as soon as that many are in, and the rest of it up to its end is skipped,
// so that neither a line without end nor binary junk can grow the buffer.
class TextLineSplitter
{
public:
    explicit TextLineSplitter(qsizetype maxLineLength);

    // Consumes input up to and including the end of the next line and returns
    // that line, without its line end; the view stays valid until the next
    // call. Returns nothing once input is used up without completing a line,
    // or once the text has ended.
    std::optional<QByteArrayView> nextLine(QByteArrayView &input);

    // At the end of the stream: the last line when it had no line end.
    std::optional<QByteArrayView> lastLine();

    // A Ctrl-Z began a line: nothing after it belongs to the text.
    bool textEnded() const { return m_textEnded; }

private:
    void dropHandedOutLine();

    static constexpr char CtrlZ = 26;

    const qsizetype m_maxLineLength;
    QByteArray m_line;
    bool m_lineHandedOut = false;
    bool m_skippingRest = false;
    bool m_afterCR = false;
    bool m_textEnded = false;
};

} // namespace Installer
