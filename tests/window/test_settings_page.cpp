// The settings page: coupled boxes, choosing the collection, saving and cancelling.
#include "WindowFixture.h"

class SettingsPage : public WindowFixture {
protected:
    void openPage()
    {
        start();
        click("Label6");
    }
    QString stored(const char* key) const
    {
        return settings.read(QStringLiteral("tapetor"), QStringLiteral("options"), QLatin1String(key),
                             QStringLiteral("<absent>"));
    }
};

TEST_F(SettingsPage, TheTwoBoxesAreCoupledOneWay)
{
    openPage();
    auto* startup = control<QCheckBox>("Check1");
    auto* run = control<QCheckBox>("Check2");
    QTest::mouseClick(startup, Qt::LeftButton, {}, QPoint(6, startup->height() / 2));
    EXPECT_TRUE(startup->isChecked());
    EXPECT_TRUE(run->isChecked());
    startup->setChecked(false);
    EXPECT_TRUE(run->isChecked()) << "unchecking the first leaves the second";
    startup->setChecked(true);
    run->setChecked(false);
    EXPECT_FALSE(startup->isChecked());
    run->setChecked(true);
    EXPECT_FALSE(startup->isChecked()) << "checking the second leaves the first";
}

TEST_F(SettingsPage, StyleOptionsExcludeEachOtherButMayAllBeOff)
{
    openPage();
    auto* stretch = control<QRadioButton>("Option2");
    auto* centre = control<QRadioButton>("Option4");
    QTest::mouseClick(centre, Qt::LeftButton, {}, QPoint(6, centre->height() / 2));
    EXPECT_TRUE(centre->isChecked());
    EXPECT_FALSE(stretch->isChecked());
    QTest::mouseClick(centre, Qt::LeftButton, {}, QPoint(6, centre->height() / 2));
    EXPECT_TRUE(centre->isChecked()) << "a click on the selected option keeps it";
    storeOption(QStringLiteral("v_center"), QStringLiteral("False"));
    window->LoadSettings();
    EXPECT_FALSE(centre->isChecked());
    EXPECT_FALSE(stretch->isChecked());
    EXPECT_FALSE(control<QRadioButton>("Option5")->isChecked());
}

TEST_F(SettingsPage, TheIntervalFieldSelectsItsWholeText)
{
    openPage();
    auto* field = control<QLineEdit>("Text1");
    field->deselect();
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(3, field->height() / 2));
    EXPECT_EQ(field->selectedText(), QStringLiteral("60"));
}

TEST_F(SettingsPage, TheIntervalFieldSelectsItsWholeTextWhenTabbedInto)
{
    openPage();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    auto* field = control<QLineEdit>("Text1");
    QWidget* before = field->previousInFocusChain();
    while (before != field && !(before->isVisible() && before->isEnabled() && (before->focusPolicy() & Qt::TabFocus)))
        before = before->previousInFocusChain();
    ASSERT_NE(before, field);
    before->setFocus(Qt::OtherFocusReason);
    // Part of the text still selected from before; the field takes it all on entry.
    field->setSelection(0, 1);
    QTest::keyClick(before, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), field);
    EXPECT_EQ(field->selectedText(), QStringLiteral("60"));
}

TEST_F(SettingsPage, SavingNeedsACollectionThenANonZeroInterval)
{
    openPage();
    control<QLineEdit>("Text1")->setText(QStringLiteral("0"));
    click("Label15");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("Kolekce tapet nebyla vybrána.\rVyberte kolekci tapet."));
    EXPECT_EQ(messages.shown[0].title, QStringLiteral("chyba kontroly nastavení"));
    EXPECT_TRUE(visible("nastaveni"));
    EXPECT_FALSE(settings.hasApp(QStringLiteral("tapetor")));

    window->options().setCollection(path("k.tkl"));
    click("Label15");
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].text,
              QStringLiteral("Interval změny tapet nesmí být nula.\rZměňte prosím časový údaj intervalu změny."));
    EXPECT_EQ(messages.shown[1].style, 16);
    EXPECT_TRUE(visible("nastaveni"));
    EXPECT_FALSE(settings.hasApp(QStringLiteral("tapetor")));
}

TEST_F(SettingsPage, SavingStoresReloadsAndCloses)
{
    openPage();
    window->options().setCollection(path("k.tkl"));
    control<QLineEdit>("Text1")->setText(QString());
    control<QCheckBox>("Check2")->setChecked(true);
    clock.advanceMs(7000);
    click("Label15");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(visible("nastaveni"));
    EXPECT_EQ(stored("interval"), QString()) << "stored as typed";
    EXPECT_EQ(text("Text1"), QStringLiteral("60"));
    EXPECT_EQ(stored("kolekce"), path("k.tkl"));
    EXPECT_EQ(text("statusMain"), QStringLiteral("je aktivní"));
    EXPECT_EQ(colour("statusMain"), QColor(0, 128, 0));
    EXPECT_EQ(dueText(), QStringLiteral("11:15:37"));
}

TEST_F(SettingsPage, StornoKeepsTheEditsInEffect)
{
    storeOption(QStringLiteral("v_stretch"), QStringLiteral("True"));
    openPage();
    control<QRadioButton>("Option5")->setChecked(true);
    control<QLineEdit>("Text1")->setText(QStringLiteral("5"));
    click("Label34");
    EXPECT_FALSE(visible("nastaveni"));
    EXPECT_TRUE(control<QRadioButton>("Option5")->isChecked());
    EXPECT_EQ(dueText(), QStringLiteral("10:20:30"));
    EXPECT_EQ(stored("v_cascade"), QStringLiteral("<absent>"));
    click("Label6");
    EXPECT_TRUE(control<QRadioButton>("Option2")->isChecked()) << "reopening shows the stored style";
}

TEST_F(SettingsPage, ChoosingACollectionLoadsAndPreviewsIt)
{
    QStringList pictures;
    for (const char* name : {"d.png", "b.png", "a.png", "c.png"})
        pictures << makePicture(QLatin1String(name), Qt::yellow, 64, 48);
    const QString file = writeCollection(QStringLiteral("ctyri.tkl"), pictures);
    openPage();
    dialogs.results = {file};
    click("Label30");
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].settings.dialogTitle, QStringLiteral("Otevřít kolekci"));
    EXPECT_EQ(dialogs.calls[0].settings.filter, QStringLiteral("tapetor kolekce (*.tkl)|*.tkl|"));
    EXPECT_FALSE(dialogs.calls[0].save);
    EXPECT_EQ(entries().size(), 4);
    EXPECT_EQ(text("pocetObr"), QStringLiteral("počet tapet: 4"));
    EXPECT_EQ(text("Label31"), file);
    EXPECT_EQ(window->collection().path(), file);
    EXPECT_EQ(currentRow(), 0);
    EXPECT_EQ(text("Label27"), path("a.png"));
    EXPECT_EQ(text("tapetainfo"), QStringLiteral("64x48, 24 bitů"));
    EXPECT_FALSE(stored("kolekce") == file) << "the choice is written by saving";

    dialogs.results = {std::nullopt};
    const QString count = text("pocetObr");
    click("Label30");
    EXPECT_TRUE(entries().isEmpty()) << "the list is cleared before the dialog";
    EXPECT_EQ(text("Label31"), file);
    EXPECT_EQ(text("pocetObr"), count);
}
