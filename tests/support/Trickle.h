#pragma once

#include <QByteArray>
#include <QIODevice>

#include <algorithm>
#include <cstring>

namespace vorbix::testing {

// A pipe-like device that hands out at most `piece` bytes a read, so a
// reader meets lines and characters cut anywhere.
class Trickle : public QIODevice {
public:
    Trickle(const QByteArray& bytes, qint64 piece) : bytes_(bytes), piece_(piece)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 n = std::min({maxSize, piece_, qint64(bytes_.size()) - at_});
        if (n <= 0)
            return 0; // the end, as a file reports it
        std::memcpy(data, bytes_.constData() + at_, size_t(n));
        at_ += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray bytes_;
    qint64 piece_;
    qint64 at_ = 0;
};

} // namespace vorbix::testing
