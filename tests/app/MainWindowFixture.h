#pragma once
// A main window on temporary drives: C: and D: for sound files, E: a CD drive without a disc,
// P: the test program's folder (so that the program's folder lies on a drive), settings in a
// fresh folder, every error box recorded instead of shown.

#include "app/TForm1.h"
#include "tests/support/DialogAnswerer.h"
#include "tests/support/ErrorBoxRecorder.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TempDrives.h"

#include <gtest/gtest.h>
#include <memory>

class MainWindowFixture : public ::testing::Test {
protected:
    MainWindowFixture();
    // The same window on these drives instead.
    explicit MainWindowFixture(std::initializer_list<TempDrive> list) : drives(list) {}
    ~MainWindowFixture() override;

    // Makes and shows the main window; start-up runs as in the program.
    void Start();
    // A file of `size` bytes.
    void MakeSound(char drive, const QString& relative, qint64 size);
    // Stores the last folder as the program does on exit.
    void StoreLastDir(const QString& directory);
    const QStringList& ErrorBoxes() const { return errorBoxes.Texts(); }
    // Notes the text of a message dialog in `message`, then answers it.
    DialogAnswerer::Action Noting(DialogAnswerer::Action answer) {
        return [this, answer](QWidget* modal) {
            const QWidget* text = modal->findChild<QWidget*>("Message");
            message = text ? text->property("Caption").toString() : QString();
            answer(modal);
        };
    }

    TempDrives drives;
    ErrorBoxRecorder errorBoxes;
    std::unique_ptr<TForm1> form;
    QString message;
};
