// Small picture files that ask a decoder for unbounded work: recursion, huge counts, endless
// output. Each is a few hundred bytes; a decoder that does what they ask runs for minutes and
// takes gigabytes.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace hostile {

struct Picture {
    QString name; // also its file name in the fuzzing seed corpus
    QByteArray bytes;
};

// A block whose only content inserts the block itself, inserted once (244 bytes).
QByteArray selfInsertingBlock();
// A lightweight polyline declaring 2^31 - 1 vertices and holding two.
QByteArray polylineDeclaringBillionsOfVertices();
// One line in a block inserted as an array of 32767 x 32767 copies.
QByteArray insertArray();
// Levels of blocks, each inserting the one below 20 times: 20^levels lines.
QByteArray nestedInserts(int levels = 7);
// An arc from 0 to 10^9 degrees.
QByteArray arcOfBillionDegrees();
std::vector<Picture> drawings();

// A metafile of 4000 x 4000 pixels filled 15000 times over: minutes of drawing.
QByteArray metafileFilledOverAndOver();

// An EPS that prints a line of text in an endless loop and never draws.
QByteArray endlesslyPrintingEps();
// An EPS that keeps about 1.5 GB of strings before it draws.
QByteArray memoryHungryEps();
// An EPS that loops without end and prints nothing.
QByteArray endlessEps();
std::vector<Picture> postScripts();

} // namespace hostile
