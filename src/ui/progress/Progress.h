#pragma once

#include "ui/toolkit/Form.h"

#include <QString>

#include <memory>
#include <utility>
#include <vector>

class QSortFilterProxyModel;

namespace Ui {
class Progress;
}

namespace vorbix {

class PairTableModel;

// The current list's progress: every pair with its record and last answer,
// worst first; the share of right answers per test; the last test's
// mistakes, which its button drills.
class Progress : public Form {
    Q_OBJECT
public:
    explicit Progress(Program& program);
    ~Progress() override;

    void Form_Load() override;
    void Command1_Click(); // Test mistakes
    void Command2_Click(); // Close

    // Reads the record and the list again: after a test, an Open, a clear.
    void refresh();

    std::unique_ptr<Ui::Progress> ui;

protected:
    // Coming to the front after the editor changed the list: read again.
    void changeEvent(QEvent* event) override;

private:
    std::vector<std::pair<QString, QString>> shownWords_;
    PairTableModel* model_ = nullptr;
    QSortFilterProxyModel* sorted_ = nullptr;
};

} // namespace vorbix
