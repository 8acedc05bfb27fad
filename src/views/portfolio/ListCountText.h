#pragma once

#include <QString>

namespace vantrell {

// The count beside a list page's title: "N" when nothing is filtered out, else "N / M".
class ListCountText {
public:
    static QString text(qsizetype shown, qsizetype total);
};

}  // namespace vantrell
