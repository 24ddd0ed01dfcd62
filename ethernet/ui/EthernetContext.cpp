#include "EthernetContext.h"

#include <QWidget>

namespace dunmere {

void CentreOver(QWidget& window, const QWidget* over)
{
    if (!over)
        return;
    if (!window.testAttribute(Qt::WA_Resized))
        window.adjustSize();
    const QRect o = over->frameGeometry();
    window.move(o.left() + o.width() / 2 - window.width() / 2, o.top() + o.height() / 2 - window.height() / 2);
}

}  // namespace dunmere
