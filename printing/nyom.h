// The chart print page: one landscape A4 page holding a chart image.
#pragma once

#include <QImage>
#include <QWidget>

class TnyomF : public QWidget {
    Q_OBJECT
public:
    explicit TnyomF(QWidget *parent = nullptr);
    QImage QRInyom; // the chart image the page prints
};
