#pragma once

#include <QByteArrayView>
#include <QString>

// What the fuzz targets share.

// Ends the run as a crash, so that libFuzzer keeps the input, when a property
// the target holds the code to does not hold.
void FuzzCheck(bool condition);

// Writes `bytes` to the process's scratch file (in /dev/shm where there is
// one, removed at exit) and returns its path; empty when it cannot be written.
QString WriteFuzzFile(QByteArrayView bytes);
