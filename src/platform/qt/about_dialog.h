// The about box: the product's name and version, what it is, its licence and the build's date.
#pragma once

#include <QDialog>

namespace kiryuza::window {

inline constexpr char kLicence[] = "MIT";
inline constexpr char kCopyright[] = "The Kiryuza developers";

class AboutDialog : public QDialog {
    Q_OBJECT

  public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace kiryuza::window
