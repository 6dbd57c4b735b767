#pragma once

// Drives the real window offscreen with every platform service faked.

#include "core/ChangeSchedule.h"
#include "platform/fakes/FakeServiceSet.h"
#include "ui/frmConsole.h"

#include <QAction>
#include <QCheckBox>
#include <QColor>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMutex>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QWaitCondition>
#include <gtest/gtest.h>
#include <memory>

// Holds a worker thread up until the test lets it go. With a mutex and a wait condition:
// a semaphore's wait hung under Wine.
class Gate {
public:
    void pass()
    {
        const QMutexLocker locked(&m_lock);
        while (!m_open)
            m_opened.wait(&m_lock);
    }
    void open()
    {
        const QMutexLocker locked(&m_lock);
        m_open = true;
        m_opened.wakeAll();
    }

private:
    QMutex m_lock;
    QWaitCondition m_opened;
    bool m_open = false;
};

// The editor asks this before "odebrat" takes the selected entries out.
inline const QString RemoveQuestion = QStringLiteral("Opravdu chcete odebrat vybrané tapety z kolekce?");

class WindowFixture : public ::testing::Test, protected FakeServiceSet {
protected:
    WindowFixture();
    ~WindowFixture() override;

    // Builds the window and runs its start-up with the given argument text.
    frmConsole& start(const QString& argumentText = {});
    // Builds the window without running start-up.
    frmConsole& create(const QString& argumentText = {});

    template <class T> T* control(const char* name) const
    {
        T* found = window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << "no control " << name;
        return found;
    }
    QLabel* label(const char* name) const { return control<QLabel>(name); }
    QString text(const char* name) const;
    // The clock time the next automatic change falls due at; empty when none is coming.
    QString dueText() const
    {
        const QDateTime due = window->schedule().due();
        return due.isValid() ? due.time().toString(QStringLiteral("H:mm:ss")) : QString();
    }
    QColor colour(const char* name) const;
    bool visible(const char* name) const;
    // A real left click in the middle of the control.
    void click(const char* name);
    // A real double-click as Qt delivers it: press, release, then a double-click event
    // in place of the second press, and its release.
    void doubleClick(const char* name);
    QAction* menuItem(const char* name) const;
    QListView* list() const { return control<QListView>("kolekce"); }
    QStringList entries() const;
    QList<int> markedRows() const;
    int listCount() const { return list()->model()->rowCount(); }
    int currentRow() const { return list()->currentIndex().row(); }
    // The row becomes current and marked, in place of the marks set last.
    void setCurrentRow(int row, QItemSelectionModel::SelectionFlags how = QItemSelectionModel::SelectCurrent)
    {
        list()->selectionModel()->setCurrentIndex(list()->model()->index(row, 0), how);
    }
    void markRow(int row, bool marked)
    {
        list()->selectionModel()->select(list()->model()->index(row, 0),
                                         marked ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
    }
    QString entryText(int row) const { return list()->model()->index(row, 0).data().toString(); }

    // Files in the test's own folder.
    QString path(const QString& name) const { return temp.filePath(name); }
    // A solid-colour PNG picture.
    QString makePicture(const QString& name, const QColor& colour, int width = 40, int height = 30) const;
    // A collection file holding the entries, CR LF after each.
    QString writeCollection(const QString& name, const QStringList& entries) const;
    // Stores the options as a saved earlier run would have left them.
    void storeOption(const QString& key, const QString& value);

    // Moves the fake clock and runs one tick, as the timer would.
    void tick(qint64 milliseconds = 100);

    std::unique_ptr<frmConsole> window;
};
