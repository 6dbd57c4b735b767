#pragma once

#include "about/AppVersion.h"

#include <QString>

// The addresses handed to the shell. Each takes its hosts as arguments so that one
// build can be pointed at other servers without touching the paths and queries.
namespace LinkTargets {
QString productPage(const QString& siteHost);
QString homePage(const QString& siteHost);
QString privacyPage(const QString& siteHost);
QString clientDownload(const QString& updateHost);
QString donationPage(const QString& paymentHost, const QString& mail, const QString& siteName);
QString mailLink(const QString& mail, const QString& title, const AppVersion& version);

// The same addresses for the hosts this build was configured with.
QString productPage();
QString homePage();
QString privacyPage();
QString clientDownload();
QString donationPage();
QString mailLink(const AppVersion& version);
} // namespace LinkTargets
