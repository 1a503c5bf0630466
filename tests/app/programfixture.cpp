#include "programfixture.h"

#include <QBuffer>
#include <QImage>
#include <QMenu>
#include <QProcess>

#include "data/albumcreation.h"
#include "dbmanage/albumactivation.h"
#include "dbmanage/albumcommands.h"
#include "dbmanage/newbase.h"
#include "dbmanage/paswoord.h"
#include "data/schema.h"

ProgramTest::ProgramTest()
{
    qputenv("XDG_CONFIG_HOME", config.path().string().c_str());
}

ProgramTest::~ProgramTest()
{
    if (program_)
        stop();
    QDir::setCurrent(startFolder);
    EXPECT_EQ(dialogs.unexpected, 0) << "a dialog was shown that the test did not expect";
    EXPECT_EQ(modals.leftovers, 0) << "a modal window was left open";
    EXPECT_EQ(modals.unused(), 0) << "an expected modal window never appeared";
}

void ProgramTest::writeRegDb(const RegValues& values)
{
    TTable reg;
    reg.setDatabaseName((config.path() / "kadrix").string());
    reg.setTableName("reg.db");
    std::filesystem::create_directories(config.path() / "kadrix");
    reg.fieldDefs = schema::appSettingsTableFields();
    reg.createTable();
    reg.open();
    reg.append();
    reg.fieldByName("X").setAsInteger(values.x);
    reg.fieldByName("Y").setAsInteger(values.y);
    reg.fieldByName("DX").setAsInteger(values.dx);
    reg.fieldByName("DY").setAsInteger(values.dy);
    reg.fieldByName("AUTO-OPEN").setAsBoolean(values.autoOpen);
    reg.fieldByName("DATABASE").setAsString(values.database);
    reg.fieldByName("PATH").setAsString(values.path);
    reg.refresh();
}

RegValues ProgramTest::readRegDb()
{
    TTable reg;
    reg.setDatabaseName((config.path() / "kadrix").string());
    reg.setTableName("reg.db");
    reg.open();
    return {reg.fieldByName("X").asInteger(),         reg.fieldByName("Y").asInteger(),
            reg.fieldByName("DX").asInteger(),        reg.fieldByName("DY").asInteger(),
            reg.fieldByName("AUTO-OPEN").asBoolean(), reg.fieldByName("DATABASE").asString(),
            reg.fieldByName("PATH").asString()};
}

void ProgramTest::createAlbum(const std::string& directory, const std::string& base,
                              const std::vector<TestPicture>& pictures,
                              const std::vector<std::pair<std::string, paradox::Value>>& settings)
{
    createAlbumTables(directory, base);
    auto openTable = [&](TTable& table, const std::string& name) {
        table.setDatabaseName(directory);
        table.setTableName(name);
        table.setExclusive(true);
        table.open();
    };
    TTable settingsTable;
    openTable(settingsTable, schema::settingsTableName(base));
    writeSettingsAtCreation(settingsTable);
    settingsTable.edit();
    for (const auto& [field, value] : settings)
        settingsTable.fieldByName(field).setValue(value);
    settingsTable.refresh();

    TTable pictureTable;
    openTable(pictureTable, schema::pictureTableName(base));
    for (const TestPicture& picture : pictures) {
        pictureTable.append();
        pictureTable.fieldByName("MEMO").setAsString(picture.memo);
        pictureTable.fieldByName("NAAM").setAsString(picture.name);
        pictureTable.fieldByName("MARK").setAsBoolean(picture.mark);
        for (int category : picture.categories)
            pictureTable.fieldByName(std::to_string(category)).setAsBoolean(true);
        if (!picture.bytes.isEmpty())
            pictureTable.fieldByName("FOTO").setAsBytes(paradox::Bytes(picture.bytes.begin(), picture.bytes.end()));
    }
    pictureTable.refresh();
}

void ProgramTest::startWithoutActivation()
{
    program_ = std::make_unique<Program>(dialogs);
    form().show();
}

void ProgramTest::start()
{
    startWithoutActivation();
    form().FormActivate();
}

void ProgramTest::stop()
{
    form().close();
    program_.reset();
}

void ProgramTest::click(const QString& name)
{
    QWidget& target = control(name);
    QTest::mouseClick(&target, Qt::LeftButton, {}, target.rect().center());
}

void ProgramTest::releasePositionBar()
{
    TrackBar& bar = positionBar();
    QTest::mouseRelease(&bar, Qt::LeftButton, {}, bar.rect().center());
}

void ProgramTest::closeAlbum()
{
    AlbumActivation activation(db(), pictureView(), form(), *form().findChild<TForm4*>());
    AlbumCommands(db(), dialogs, form(), activation, *form().findChild<TForm8*>()).closeAlbum();
}

bool ProgramTest::databaseCommandsEnabled()
{
    const auto menuEnabled = [this](const char* name) { return control<QMenu>(name).menuAction()->isEnabled(); };
    return menuEnabled("Picture1") && menuEnabled("Batch1") && menuEnabled("Scanner1") &&
           control(QStringLiteral("SpeedButton2")).isEnabled() && action(QStringLiteral("Opties1")).isEnabled();
}

QByteArray pictureFile(int width, int height, const QColor& colour, const char* format)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QByteArray convertedPicture(const QByteArray& input, const QStringList& options, const QString& output)
{
    QProcess convert;
    convert.start(QStringLiteral("convert"), options + QStringList{QStringLiteral("-"), output});
    if (!convert.waitForStarted())
        return {};
    convert.write(input);
    convert.closeWriteChannel();
    convert.waitForFinished(60'000);
    return convert.exitStatus() == QProcess::NormalExit && convert.exitCode() == 0 ? convert.readAllStandardOutput()
                                                                                   : QByteArray();
}

QByteArray noiseBytes(int size, unsigned seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    unsigned state = seed * 2654435761u + 1;
    for (char& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<char>(state >> 24);
    }
    return bytes;
}
