// Arbitrary bytes as what the unit sends, in the chunks the port delivers
// (at most the handler's 20 bytes a read): assembled into replies, decoded,
// and shown in a real main window. The window reads replies only from its
// port, so the bytes go through the assembler and the view its received-bytes
// handler uses, with the window's own controls behind the view.

#include "chunkedinput.h"

#include "app/formmain.h"
#include "app/replyview.h"
#include "protocol/commandcatalogue.h"
#include "protocol/replyassembler.h"
#include "protocol/replydecoder.h"
#include "toolkit/beep.h"
#include "toolkit/checkbox.h"
#include "toolkit/combolist.h"
#include "toolkit/dialogs.h"
#include "toolkit/maskedit.h"
#include "toolkit/spinedit.h"
#include "toolkit/statictext.h"
#include "widgets/ledlittle.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdlib>

using namespace Protocol;

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// One window for the whole run: building one per input would cost far more
// than the replies. It reads and writes settings in a folder of its own.
struct Panel
{
    QTemporaryDir folder;
    DialogRecorder dialogs;
    BeepCounter beeps;
    TFormMain window{SettingsLocation(folder.filePath(QStringLiteral("KarvControl.ini")))};
    ReplyView view{window};

    Panel() { window.show(); }
};

Panel *panel = nullptr;

// Whether control is of the kind the write is meant for: any other would
// pass the value over unseen.
bool takes(const QWidget *control, DecodedWrite::Kind kind)
{
    switch (kind) {
    case DecodedWrite::SpinValue:
        return qobject_cast<const SpinEdit *>(control);
    case DecodedWrite::ItemIndex:
        return qobject_cast<const ComboList *>(control);
    case DecodedWrite::Checked:
        return qobject_cast<const CheckBox *>(control);
    case DecodedWrite::Text:
        return qobject_cast<const MaskEdit *>(control) || qobject_cast<const StaticText *>(control);
    case DecodedWrite::LedLit:
        return qobject_cast<const TLedLittle *>(control);
    }
    return false;
}

// Each write names a control of its kind that the window holds, and what it
// left there is within what that control can show.
void checkShown(const QList<DecodedWrite> &writes)
{
    for (const DecodedWrite &write : writes) {
        const QWidget *control = panel->window.findChild<QWidget *>(write.control);
        require(takes(control, write.kind));
        if (const auto *edit = qobject_cast<const SpinEdit *>(control); edit && edit->MinValue() < edit->MaxValue())
            require(edit->Value() >= edit->MinValue() && edit->Value() <= edit->MaxValue());
        if (const auto *list = qobject_cast<const ComboList *>(control))
            require(list->ItemIndex() >= -1 && list->ItemIndex() < list->count());
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_replystream";
    static char *argv[] = {name, nullptr};
    new QApplication(argc, argv);
    panel = new Panel;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ChunkedInput input(data, size, ReplyAssembler::MaxChunk);
    ReplyAssembler assembler;
    // What the unit sent so far; a reply is eight bytes of it in a row,
    // starting with a reply code, after the reply before it.
    QByteArray sent;
    qsizetype unread = 0;
    while (!input.atEnd()) {
        const ChunkedInput::Chunk chunk = input.next();
        const QByteArrayView bytes(chunk.bytes.data(), qsizetype(chunk.bytes.size()));
        sent += bytes;
        const auto reply = assembler.feed(bytes);
        require(assembler.rxCount() >= 0 && assembler.rxCount() < ReplyFrame::Size);
        if (!reply)
            continue;
        require(IsReplyStartCode(reply->code()));
        const QByteArrayView frame(reply->bytes.data(), ReplyFrame::Size);
        const qsizetype at = sent.indexOf(frame, unread);
        require(at >= 0);
        unread = at + ReplyFrame::Size;

        panel->view.show(*reply);
        checkShown(DecodeReply(*reply));
    }
    // A reply never asks the operator anything.
    require(panel->dialogs.boxes().isEmpty());
    QCoreApplication::processEvents();
    return 0;
}
