#include "printing/nyom.h"

namespace printing {

ChartPage::ChartPage(const platform::Drawing &chart) : report_(Paper::a4(QPageLayout::Landscape, 100))
{
    QRInyom.Width = ImageWidth;
    QRInyom.Height = ImageHeight;
    QRInyom.Stretch = true;
    QRInyom.setPicture(chart);
}

void ChartPage::start()
{
    report_.clear();
    finished_ = false;
}

void ChartPage::produceNext()
{
    if (finished_) return;
    // The band is printed once; it fits the page, so the page is one.
    report_.printBand(BandHeight, QRInyom);
    finished_ = true;
}

} // namespace printing

TnyomF::TnyomF(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("nyomF"));
    setWindowTitle(QStringLiteral("nyomF"));
    QRInyom.Width = printing::ChartPage::ImageWidth;
    QRInyom.Height = printing::ChartPage::ImageHeight;
    QRInyom.Stretch = true;
}

TnyomF::~TnyomF()
{
    // Previews still open go with the page that opened them.
    for (const QPointer<platform::PrintPreview> &p : std::as_const(previews_))
        delete p.data();
}

void TnyomF::printChart(const platform::Drawing &chart)
{
    previews_.removeAll(nullptr);
    if (!previews_.isEmpty() && previews_.last()->producing()) return;

    QRInyom.setPicture(chart);
    auto *preview = new platform::PrintPreview(std::make_unique<printing::ChartPage>(QRInyom.picture()));
    previews_.append(preview);
    preview->openModeless();
}
