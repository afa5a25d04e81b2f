#pragma once

#include <QByteArray>
#include <QString>

// A pseudo-terminal whose slave side the component under test opens by path
// while the test plays the far side on the master.
class PtyPair
{
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    bool IsValid() const { return FMaster >= 0; }
    QString SlavePath() const { return FSlavePath; }
    int Master() const { return FMaster; }

    void Send(const QByteArray &Bytes);
    // Reads until Count bytes came or nothing came for TimeoutMs.
    QByteArray Receive(int Count, int TimeoutMs = 5000);
    // Reads until a byte Last came or nothing came for TimeoutMs.
    QByteArray ReceiveThrough(char Last, int TimeoutMs = 5000);
    // Closes the master: the slave side sees a hang-up.
    void HangUp();

    // The slave's line speed and flags as the far side sees them.
    int BitRate() const;
    unsigned CFlags() const;
    unsigned IFlags() const;

private:
    // Wanted(received) tells how many more bytes to read at most; 0 ends.
    template <typename Wanted>
    QByteArray ReceiveWhile(Wanted &&BytesWanted, int TimeoutMs);

    int FMaster = -1;
    QString FSlavePath;
};
