#pragma once

#include <QByteArray>
#include <QStringList>
#include <QtMessageHandler>

#include <cstdio>

namespace vantrell {

// Catches everything the process prints while it lives: every byte written to file descriptors
// 1 and 2 (by any thread, through the C library, iostreams, Qt's default handler or a direct
// write) and every Qt message, which is recorded instead of printed.
//
//     OutputCapture capture;
//     ... work that must stay quiet ...
//     const OutputCapture::Captured printed = capture.finish();
//
// Nothing printed meanwhile reaches the terminal, test failures included: assert after finish().
// One capture at a time.
class OutputCapture {
public:
    struct Captured {
        QByteArray output;     // what reached descriptors 1 and 2, in order
        QStringList messages;  // Qt messages, each with its category
    };

    OutputCapture();
    // Restores the descriptors if finish() was not called.
    ~OutputCapture();
    OutputCapture(const OutputCapture&) = delete;
    OutputCapture& operator=(const OutputCapture&) = delete;

    // Restores the descriptors and the previous message handler; returns what was caught.
    Captured finish();

private:
    void restore();

    std::FILE* m_file = nullptr;
    int m_savedOut = -1;
    int m_savedErr = -1;
    QtMessageHandler m_previousHandler = nullptr;
    bool m_active = false;
    QStringList m_messages;
};

}  // namespace vantrell
