#pragma once

#include <QHostAddress>
#include <QJsonObject>
#include <QString>

// How a stand-in media server listens and answers.
struct StandinOptions
{
    // Address the discovery and link sockets bind to.
    QHostAddress bindAddress{QHostAddress::Any};
    // UDP port of discovery probes; 0 picks a free one.
    int discoveryPort = 36543;
    // TCP port of the link, announced in "serverConfig"; 0 picks a free one.
    int tcpPort = 0;
    QString productName = QStringLiteral("Tavix");
    // "ip" announced in "serverConfig"; empty makes the panel use the sender address.
    QString announceIp;
    // Answer discovery at the probe's "ip" as a real server does, instead of at the
    // address the probe came from.
    bool replyToProbeIp = false;
    // Non-empty: ask for it with "connectVerifyAsk" before "connected".
    QString password;
    // Scripted state (see StandinState); empty takes the built-in sample.
    QJsonObject state;
    // JSON-lines file of commands sent to each client after "connected":
    // {"cmd": name, "params": {...}, "delayMs": wait before it}.
    QString replayFile;
    // Answer "setGlobalProperty" and "setTrack" as a server that carries them out: with the same
    // command, reporting the new values (the global properties are kept for later requests).
    bool reportChanges = false;
    // Answer "getStageImage" this many ms after the request, as a busy server does, and log each
    // such answer ({"event": "answer", "cmd": "setStageImage"}). 0 answers at once.
    int stageAnswerDelayMs = 0;
    // Hold every command sent after the handshake (answers, the pushed Vexa lists, replayed
    // commands) this many ms, as a server still loading its show does, so that the panel stays in
    // its loading state that long. 0 sends at once.
    int answerHoldMs = 0;

    // Send nothing on a new link for this many ms, then greet it as usual, as a slow server
    // does. 0 greets at once.
    int firstMessageDelayMs = 0;
    // Answer every probe first as a stale copy of the server on the same host would, naming this
    // port (where nothing listens); the server's own answer follows 250 ms later. 0: no stale copy.
    int staleAnnouncePort = 0;

    // Hostile links, for the panel's tests. Each is off at 0.
    // A server that says "connected" (after the password, when asked for) and then nothing:
    // no answer to any request, nothing pushed or replayed.
    bool onlyConnected = false;
    // As onlyConnected, but the panel's first request on a link is followed by one message it did
    // not ask for (a volume update, logged as {"event": "stray"}), and then nothing.
    bool strayMessage = false;
    // Ask for the password ("connectVerifyAsk") again every this many ms on each link from its
    // greeting on, whatever the panel sends. 0: only the greeting asks.
    int askAgainMs = 0;
    // A server that stalls inside its first file message: each link gets the first frame of a file
    // (its head, its information and part of its content, not the last frame) and nothing more.
    bool stallInFile = false;
    // Every frame is written in pieces of at most this many bytes, each flushed on its own.
    int splitBytes = 0;
    // This many bytes of garbage (partial magics included) go before every frame.
    int garbageBytes = 0;
    // A link is cut once this many bytes have been written to it, mid-frame if it falls there.
    qint64 dropAfterBytes = 0;
    // A hung server: each link gets this many bytes and then nothing more, but stays open (0: it
    // is accepted and never written to; the 24 bytes of a frame head: a frame that never comes).
    // Off when negative.
    qint64 stallAfterBytes = -1;
};
