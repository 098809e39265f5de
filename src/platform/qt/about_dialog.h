// The about box: the product's name, version, what it is, its home page and contact address.
#pragma once

#include <QDialog>

namespace kiryuza::window {

inline constexpr char kProductName[] = "Kiryuza";
inline constexpr char kHomePage[] = "https://kiryuza.example.org/";
inline constexpr char kContact[] = "kiryuza@example.org";

class AboutDialog : public QDialog {
    Q_OBJECT

  public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace kiryuza::window
