#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QtGlobal>

#include <functional>

// Decodes the pictures the window shows and applies. Decoding a camera photo takes a
// good part of a second, so the real decoder works beside the window's thread and
// answers later; tests answer when they choose. The asker numbers its requests, and an
// answer carries the number of its request, so an asker that has asked for another
// picture meanwhile can tell a stale answer.
class PictureDecoder {
public:
    // Called on the window's thread with the request's number and its picture: that of
    // the entry's file or, when that cannot be decoded, that of the fallback file, or a
    // null picture when neither can.
    using Receiver = std::function<void(quint64 request, QImage picture)>;

    virtual ~PictureDecoder() = default;

    virtual void setReceiver(Receiver receiver) = 0;
    // Asks for the picture of the file that an entry's bytes name. A request made
    // before this one and not yet answered is dropped without an answer: only the
    // latest picture is wanted. `reuse` lends the pixel buffer of a picture no longer
    // needed. The answer may come before this returns.
    virtual void request(quint64 number, const QByteArray& entryBytes, const QString& fallbackPath, QImage reuse) = 0;
    // Starts decoding at once, beside any other decode, a picture that a request will
    // soon ask for; that request then takes this decode instead of making its own. For
    // the runs that know their pictures before they show the first: the first and, at
    // logon, the second.
    virtual void prepare(const QByteArray& entryBytes, const QString& fallbackPath) = 0;
    // Lets go of the prepared pictures no request has taken, stopping their decodes: a
    // run that knew its pictures and then did not show them.
    virtual void dropPrepared() = 0;
    // Waits for the latest request and delivers its answer before returning.
    virtual void finish() = 0;
    // Drops every request not yet answered, and the prepared pictures; a decode already
    // running ends unseen.
    virtual void cancel() = 0;
};
