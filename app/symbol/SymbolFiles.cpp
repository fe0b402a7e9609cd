#include "SymbolFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "PlatformPaths.h"

namespace quillory {

namespace {

const char kPreviewCacheName[] = "Test1x.bmp";
const char kSampleSymbolsName[] = "symbols";

}  // namespace

QString SymbolPreviewCacheFile() {
    const QString folder = PlatformPaths::CacheFolder();
    QDir().mkpath(folder);
    return PlatformPaths::Join(folder, QLatin1String(kPreviewCacheName));
}

bool SaveSymbolCopy(const QString& source, const QString& target) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) return false;
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) return false;
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError || out.write(bytes) != bytes.size()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

QString SampleSymbolFolder() {
    return PlatformPaths::Join(PlatformPaths::SharedDataFolder(), QLatin1String(kSampleSymbolsName));
}

void SeedSymbolFolder() {
    const QString target = PlatformPaths::SymbolFolder();
    if (QFileInfo::exists(target) || !QDir().mkpath(target)) return;
    // Samples are a convenience: one that cannot be copied is simply missing.
    const QDir samples(SampleSymbolFolder());
    for (const QString& name : samples.entryList({QStringLiteral("*.bmp")}, QDir::Files)) {
        QFile::copy(samples.filePath(name), PlatformPaths::Join(target, name));
    }
}

}  // namespace quillory
