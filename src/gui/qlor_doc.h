// The document of the single-document window. It carries no data: the view
// keeps the text of the open file and the analysis reads the files itself.
#pragma once

#include <QObject>

namespace qlor::gui {

class CQLOR_Doc final : public QObject {
 public:
  using QObject::QObject;
};

}  // namespace qlor::gui
