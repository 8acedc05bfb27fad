#pragma once

#include <QWidget>

#include <vector>

namespace vantrell {

// The 5-pixel bar of an exchange card: one segment per account type (the first cyan, the
// others indigo) sized by its share of the total, or one grey bar when there are no shares.
class CompositionBar : public QWidget {
    Q_OBJECT

public:
    explicit CompositionBar(std::vector<double> fractions, QWidget* parent = nullptr);

    const std::vector<double>& fractions() const { return m_fractions; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<double> m_fractions;
};

}  // namespace vantrell
