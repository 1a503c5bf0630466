// Five effects of the effects window on a 24-megapixel photo next to ImageMagick's convert doing
// the same operation on the same file in the same run. Both sides read the picture from a BMP
// file and write the result to one, so decoding and encoding are included on both. Target: each
// effect at most 1.2 times convert's time.
// Usage: effects_bench [rounds, default 3] [one effect's name, default all five]
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "benchsupport.h"
#include "imaging/decoder.h"
#include "imaging/effects/effect.h"
#include "imaging/encoder.h"
#include "imaging/initialise.h"
#include "timing.h"

namespace {

struct Operation {
    QString effect;
    std::vector<int> values;
    std::vector<std::string> convertArguments; // between the input and the output file
};

QByteArray readFile(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

// The real convert: a wrapper script in front of it would only add its own start-up.
std::string convertProgram()
{
    const QString direct = QStandardPaths::findExecutable(QStringLiteral("convert-im6.q16"));
    return direct.isEmpty() ? std::string("convert") : direct.toStdString();
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 3;
    const QString only = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    imaging::initialise();
    QTemporaryDir work;
    const QString input = work.filePath("photo.bmp");
    const QString ours = work.filePath("ours.bmp");
    const QString theirs = work.filePath("convert.bmp");
    const imaging::SaveSettings settings;
    writeFile(input, imaging::encode(photoLikePicture(QSize(6000, 4000)), imaging::SaveFormat::Bmp, settings));
    const std::string convert = convertProgram();
    std::printf("6000x4000 photo, %s\n", convert.c_str());

    const std::vector<Operation> operations{
        {"Blur", {3}, {"-blur", "0x3"}},         {"Oil Paint", {3}, {"-paint", "3"}},
        {"WhirlPool", {180}, {"-swirl", "180"}}, {"Rotate", {90, 0}, {"-rotate", "90"}},
        {"AutoContrast", {}, {"-normalize"}},
    };
    bool allWithin = true;
    for (const Operation& operation : operations) {
        if (!only.isEmpty() && operation.effect != only)
            continue;
        const imaging::Effect& effect = imaging::effectNamed(operation.effect);
        std::vector<double> ourTimes;
        std::vector<double> convertTimes;
        for (int round = 0; round < rounds; ++round) {
            std::vector<std::string> command{convert, input.toStdString()};
            command.insert(command.end(), operation.convertArguments.begin(), operation.convertArguments.end());
            command.push_back(theirs.toStdString());
            convertTimes.push_back(milliseconds([&] {
                if (runProgram(command) != 0)
                    std::printf("convert failed\n");
            }));
            ourTimes.push_back(milliseconds([&] {
                const QImage picture = imaging::decode(readFile(input)).image;
                const QImage result = imaging::applyEffect(effect, picture, {}, operation.values, {}, {});
                writeFile(ours, imaging::encode(result, imaging::SaveFormat::Bmp, settings));
            }));
        }
        const double ratio = median(ourTimes) / median(convertTimes);
        allWithin = allWithin && ratio <= 1.2;
        std::printf("%-14s ours %8.0f ms   convert %8.0f ms   ratio %.2f (target <= 1.20)\n",
                    operation.effect.toUtf8().constData(), median(ourTimes), median(convertTimes), ratio);
    }
    std::printf(allWithin ? "all within the target\n" : "NOT all within the target\n");
    return 0;
}
