#pragma once

#include <QCoroTask>
#include <QString>

namespace kestrova {

// What the check command and the grab need of the main window besides its fields.
class GrabHost {
public:
    virtual ~GrabHost() = default;

    // The selected page of ctlTabs1: 1 "Login Details", 2 "Use Cache Data".
    virtual int selectedMainPage() const = 0;
    virtual QString userName() const = 0;  // txtUserName
    virtual QString password() const = 0;  // txtPassword
    // cmbSelfcaresite: the selected item (-1 for none) and its text; the two portal hosts.
    virtual int selfcareSiteIndex() const = 0;
    virtual QString selfcareSiteText() const = 0;
    virtual QString northHost() const = 0;
    virtual QString westHost() const = 0;
    virtual void focusSelfcareSite() = 0;
    // cmbCacheFiles: the selected item (-1 for none) and its text.
    virtual int cacheFileIndex() const = 0;
    virtual QString cacheFileText() const = 0;
    virtual void focusCacheFiles() = 0;
    // ctlPasswordVersion: page 1 "Login Info", page 2 "Processing".
    virtual void selectLoginInfoPage() = 0;
    virtual void selectProcessingPage() = 0;
    // lblMessage on the "Processing" page.
    virtual void setMessageCaption(const QString& caption) = 0;
    virtual void setMessageVisible(bool visible) = 0;
    // The result window's report browser to "about:blank".
    virtual void blankReport() = 0;
    virtual void processPendingEvents() = 0;
    // The program's folder.
    virtual QString folder() const = 0;
    // Builds the report and shows the result window (run from the tick of Timer1); the task
    // ends once the result window has been closed.
    virtual QCoro::Task<> ShowOutput() = 0;
};

}  // namespace kestrova
