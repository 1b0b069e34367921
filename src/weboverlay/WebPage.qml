import QtQuick
import QtWebChannel
import QtWebEngine
import Vostrel.WebOverlay

// One lock-screen page. It has its own off-the-record profile, so the file
// confinement and the bridge scripts apply to it alone, and it answers every
// request for a dialog, a menu, a window or a permission with no: nothing may
// open above the lock. It takes the pointer (links work) but never sees a
// key: the lock's window consumes every key before any item does.
WebEngineView {
    id: view

    required property WebOverlayBridge bridge

    // A website that timed out is stopped and shows nothing, like one that
    // cannot be reached.
    visible: !bridge.timedOut
    backgroundColor: "transparent"
    webChannel: channel
    profile: WebEngineProfile {
        offTheRecord: true
    }
    settings.fullScreenSupportEnabled: false
    settings.javascriptCanOpenWindows: false
    settings.focusOnNavigationEnabled: false
    settings.localContentCanAccessRemoteUrls: true
    // A site that cannot be reached leaves the page empty over the backdrop
    // rather than showing the engine's own error page.
    settings.errorPageEnabled: false

    WebChannel {
        id: channel
    }

    Binding {
        target: view.bridge
        property: "pageLoading"
        value: view.loading
    }
    Connections {
        target: view.bridge
        function onTimedOutChanged() {
            if (view.bridge.timedOut)
                view.stop()
        }
    }

    onNavigationRequested: request => bridge.decideNavigation(request)
    onFullScreenRequested: request => request.reject()
    onNewWindowRequested: request => {}
    onFeaturePermissionRequested: (origin, feature) => grantFeaturePermission(origin, feature, false)
    onContextMenuRequested: request => { request.accepted = true }
    onJavaScriptDialogRequested: request => {
        request.accepted = true
        request.dialogReject()
    }
    onFileDialogRequested: request => {
        request.accepted = true
        request.dialogReject()
    }
    onColorDialogRequested: request => {
        request.accepted = true
        request.dialogReject()
    }
    onAuthenticationDialogRequested: request => {
        request.accepted = true
        request.dialogReject()
    }

    Component.onCompleted: {
        bridge.preparePage(profile, channel)
        url = Qt.binding(() => bridge.pageURL)
    }
}
