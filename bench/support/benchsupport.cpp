#include "benchsupport.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

// Runs a program to completion; the benchmark loop times it, start-up included.
int runProgram(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

QImage photoLikePicture(QSize size, quint32 seed)
{
    QImage image(size, QImage::Format_RGB32);
    std::vector<double> across(static_cast<size_t>(size.width()));
    for (int x = 0; x < size.width(); ++x)
        across[static_cast<size_t>(x)] = std::sin(x / 53.0);
    quint32 noise = seed;
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const double down = std::cos(y / 71.0);
        for (int x = 0; x < size.width(); ++x) {
            const double light = 60.0 * std::sin(x / 370.0 + y / 610.0);
            const double texture = 40.0 * across[static_cast<size_t>(x)] * down;
            const auto channel = [&](double base) {
                noise = noise * 1664525u + 1013904223u;
                const double grain = static_cast<int>(noise >> 27) - 16;
                return static_cast<int>(std::clamp(base + light + texture + grain, 0.0, 255.0));
            };
            line[x] = qRgb(channel(120), channel(110 + 0.3 * texture), channel(100 - 0.5 * light));
        }
    }
    return image;
}

void writePpm(const QImage& image, const QString& path)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(QStringLiteral("P6\n%1 %2\n255\n").arg(image.width()).arg(image.height()).toLatin1());
    QByteArray row(image.width() * 3, '\0');
    for (int y = 0; y < image.height(); ++y) {
        const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            row[3 * x] = static_cast<char>(qRed(pixels[x]));
            row[3 * x + 1] = static_cast<char>(qGreen(pixels[x]));
            row[3 * x + 2] = static_cast<char>(qBlue(pixels[x]));
        }
        file.write(row);
    }
}
