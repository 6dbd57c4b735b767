#pragma once

#include "platform/ShownPictureStore.h"

// Small JSON files in a folder of the program's state (not its options). Each is
// replaced whole, so a crash leaves the old one.
class FileShownPictureStore final : public ShownPictureStore {
public:
    explicit FileShownPictureStore(QString folder);

    std::optional<Shown> read() const override;
    void write(const Shown& shown) override;
    History readHistory() const override;
    void writeHistory(const History& history) override;
    void remove() override;

private:
    QString filePath() const;
    QString historyPath() const;
    QString m_folder;
};
