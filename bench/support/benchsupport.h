// Shared by the benchmarks: photo-like test pictures and running outside programs.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <string>
#include <vector>

// Runs a program to completion (found on PATH); returns its exit status, -1 if it could not run.
int runProgram(const std::vector<std::string>& arguments);

// Smooth light, textures of several sizes and sensor-like noise: a JPEG of it is about as hard
// to decode as a camera photo of the same size. `seed` varies the noise.
QImage photoLikePicture(QSize size, quint32 seed = 12345);

void writePpm(const QImage& image, const QString& path);
