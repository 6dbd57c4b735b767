#pragma once

#include "platform/ShownPictureStore.h"

// A small JSON file in a folder of the program's state (not its options).
class FileShownPictureStore final : public ShownPictureStore {
public:
    explicit FileShownPictureStore(QString folder);

    std::optional<Shown> read() const override;
    void write(const Shown& shown) override;
    void remove() override;

private:
    QString filePath() const;
    QString m_folder;
};
