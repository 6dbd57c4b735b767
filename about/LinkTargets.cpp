#include "about/LinkTargets.h"

#include "ui/Texts.h"

namespace LinkTargets {

QString productPage(const QString& siteHost)
{
    return QStringLiteral("http://%1/search.php?rstext=all-phpRS-all&rstema=19").arg(siteHost);
}

QString homePage(const QString& siteHost)
{
    // The bare root, written as the footer shows it; browsers add the slash themselves.
    return QStringLiteral("http://") + siteHost;
}

QString privacyPage(const QString& siteHost)
{
    return QStringLiteral("http://%1/showpage.php?name=privacy").arg(siteHost);
}

QString clientDownload(const QString& updateHost)
{
    return QStringLiteral("http://%1/soubory/client/orbupd.exe").arg(updateHost);
}

QString donationPage(const QString& paymentHost, const QString& mail, const QString& siteName)
{
    // The payment service is given these two values in the same escaped form as the
    // fixed ones ("%2e" for every dot); the configured addresses are plain, so they are
    // escaped here. Only the dot and the at sign are replaced; nothing else is encoded.
    QString business = mail;
    business.replace(QLatin1Char('@'), QLatin1String("%40")).replace(QLatin1Char('.'), QLatin1String("%2e"));
    QString itemName = siteName;
    itemName.replace(QLatin1Char('.'), QLatin1String("%2e"));
    return QStringLiteral("https://") + paymentHost + QStringLiteral("/cgi-bin/webscr?cmd=_xclick&business=") + business
        + QStringLiteral("&item_name=") + itemName
        + QStringLiteral("&amount=30%2e00&no_shipping=0&no_note=1&tax=0&currency_code=CZK&lc=CZ"
                         "&bn=PP%2dDonationsBF&charset=UTF%2d8");
}

QString mailLink(const QString& mail, const QString& title, const AppVersion& version)
{
    // The blanks of the subject stay as they are; the mail program shows them as typed.
    return QStringLiteral("mailto:") + mail + QStringLiteral("?subject=") + title + QStringLiteral(" verze ")
        + QString::number(version.major) + QLatin1Char('.') + QString::number(version.minor)
        + QStringLiteral(" build: ") + QString::number(version.revision) + QStringLiteral("&body=");
}

QString productPage()
{
    return productPage(QStringLiteral(TAPETOR_SITE_HOST));
}

QString homePage()
{
    return homePage(QStringLiteral(TAPETOR_SITE_HOST));
}

QString privacyPage()
{
    return privacyPage(QStringLiteral(TAPETOR_SITE_HOST));
}

QString clientDownload()
{
    return clientDownload(QStringLiteral(TAPETOR_UPDATE_HOST));
}

QString donationPage()
{
    return donationPage(QStringLiteral(TAPETOR_PAYMENT_HOST), QStringLiteral(TAPETOR_MAIL),
                        QStringLiteral(TAPETOR_SITE_NAME));
}

QString mailLink(const AppVersion& version)
{
    return mailLink(QStringLiteral(TAPETOR_MAIL), Texts::Title, version);
}

} // namespace LinkTargets
