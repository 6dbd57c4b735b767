#include "app/FirstPicture.h"

#include "core/Options.h"
#include "engine/BitmapLocation.h"
#include "engine/ChangeSequence.h"
#include "engine/CollectionFile.h"
#include "engine/CollectionOrder.h"
#include "platform/Clock.h"
#include "platform/PictureDecoder.h"
#include "platform/PlatformServices.h"
#include "platform/SettingsStore.h"
#include "platform/ShownPictureStore.h"
#include "ui/Texts.h"

#include <QStringList>

namespace {
// The row the window makes current once the collection is in: that of the picture last
// shown, or else the first.
int rowOfLastShown(const ShownPictureStore* shown, const QString& collection, const CollectionEntries& sorted)
{
    const std::optional<ShownPictureStore::Shown> last = shown ? shown->read() : std::nullopt;
    if (!last || last->collection != collection)
        return 0;
    for (qsizetype row = 0; row < sorted.size(); ++row) {
        if (sorted[row].bytes == last->entry)
            return int(row);
    }
    return 0;
}

bool historyGoesForward(const ShownPictureStore* shown)
{
    if (!shown)
        return false;
    const ShownPictureStore::History history = shown->readHistory();
    return history.current + 1 < history.pictures.size();
}
} // namespace

void prepareFirstPicture(const PlatformServices& services, const QString& argumentText)
{
    if (argumentText != QLatin1String("/startos") && argumentText != QLatin1String("--next"))
        return;
    if (argumentText == QLatin1String("--next") && historyGoesForward(services.shown))
        return;
    Options options(Texts::NoCollection);
    options.load([&services](const QString& key) {
        return services.settings->read(QStringLiteral("tapetor"), QStringLiteral("options"), key, QString());
    });
    if (!options.hasCollection() || options.random() || !collectionFileExists(options.collection()))
        return;
    CollectionReading reading;
    if (!readCollectionFile(options.collection(), kMaxCollectionEntries, reading) || reading.entries.isEmpty())
        return;
    QStringList texts;
    texts.reserve(reading.entries.size());
    for (const CollectionEntry& entry : std::as_const(reading.entries))
        texts << entry.text;
    CollectionEntries sorted;
    sorted.reserve(reading.entries.size());
    for (const qsizetype at : CollectionOrder(services.clock->locale()).sortedOrder(texts))
        sorted << reading.entries[at];
    const int count = int(sorted.size());
    const AdvancePlan first = planAdvance(rowOfLastShown(services.shown, options.collection(), sorted), count, false);
    if (first.select < 0 || first.select >= count)
        return;
    const QString fallback = errorPicturePath(*services.location);
    services.decoder->prepare(sorted[first.select].bytes, fallback);
    // The logon run shows the next one right after.
    if (argumentText == QLatin1String("/startos"))
        services.decoder->prepare(sorted[planAdvance(first.select, count, false).select].bytes, fallback);
}
