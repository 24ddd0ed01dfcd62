#pragma once
// The texts of the current language: one per key, replaced all at once when a language is
// loaded, empty until the first load. Other code asks by key name, e.g. text("LangOK").

#include "LanguageKeys.h"
#include "link/Messages.h"

#include <QObject>
#include <QString>
#include <array>

namespace dunmere {

using LanguageSlots = std::array<QString, LanguageSlotCount>;

class LanguageTexts final : public QObject, public TextSource {
    Q_OBJECT
public:
    explicit LanguageTexts(QObject* parent = nullptr);
    LanguageTexts(const LanguageTexts&) = delete;
    LanguageTexts& operator=(const LanguageTexts&) = delete;

    // The table the whole program reads.
    [[nodiscard]] static LanguageTexts& program();

    // Key names match without regard to case; an unknown key gives empty text.
    [[nodiscard]] QString text(const QString& key) const override;
    [[nodiscard]] const QString& slotText(int slot) const { return slots_.at(slot); }

    // The language number whose section is read by the next load.
    [[nodiscard]] int language() const { return language_; }
    void setLanguage(int number) { language_ = number; }

    // The settings key Type as read with the texts: 1 is the Brix edition.
    [[nodiscard]] int editionType() const { return editionType_; }
    [[nodiscard]] bool brixEdition() const { return editionType_ == 1; }

    // Texts composed from the keys, built with every load.
    [[nodiscard]] const QString& noSensorText() const { return noSensor_; }
    [[nodiscard]] const QString& noCalibrationText() const { return noCalibration_; }
    [[nodiscard]] const QString& writeFailedText() const { return writeFailed_; }
    [[nodiscard]] const QString& invalidCalibrationText() const { return invalidCalibration_; }
    [[nodiscard]] const QString& deleteCalibrationQuestion() const { return deleteCalibration_; }

    // Puts a freshly read set of texts in place, builds the derived texts and emits
    // textsLoaded(), so that menus and windows can take the new texts.
    void replace(const LanguageSlots& readTexts, int editionType);

signals:
    void textsLoaded();

private:
    void buildDerivedTexts();

    LanguageSlots slots_;
    int language_ = 0;
    int editionType_ = 0;
    QString noSensor_;
    QString noCalibration_;
    QString writeFailed_;
    QString invalidCalibration_;
    QString deleteCalibration_;
};

}  // namespace dunmere
