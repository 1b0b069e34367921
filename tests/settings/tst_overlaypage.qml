import QtQuick
import QtTest
import Vostrel.Settings
import Vostrel.Themes
import "helpers.js" as Helpers

// Tall enough that every card is on screen and can be clicked.
Item {
    id: root
    width: 900
    height: 2400

    TestCase {
        id: testCase
        name: "OverlayPage"
        when: windowShown

        Component {
            id: pageComponent
            OverlayPage { width: 900; height: 2400 }
        }

        function typeInto(field, text) {
            field.forceActiveFocus()
            field.selectAll()
            keyClick(Qt.Key_Backspace)
            for (const c of text)
                keyClick(c)
        }

        function init() {
            ThemeManager.currentTheme = "live_blur"
        }

        function test_themeGridFollowsTheCatalogue() {
            const page = createTemporaryObject(pageComponent, root)
            const grid = Helpers.findNamed(page, "themeGrid")
            compare(grid.columns, 3)
            const cards = ThemeCatalog.themes.map(t => Helpers.findNamed(page, "theme_" + t.rawValue))
            verify(cards.every(card => card !== null))
            // In catalogue order, three to a row.
            verify(cards[1].x > cards[0].x && cards[2].x > cards[1].x)
            verify(cards[3].y > cards[0].y)
            compare(cards.filter(card => card.selected).map(card => card.theme), ["live_blur"])
        }

        function test_selectingAThemeTogglesTheLiveBlurCard() {
            ThemeManager.liveBlurRadius = 33
            const page = createTemporaryObject(pageComponent, root)
            mouseClick(Helpers.findNamed(page, "theme_sunset"))
            compare(ThemeManager.currentTheme, "sunset")
            verify(!Helpers.findCard(page, "Live Blur Settings").visible)
            mouseClick(Helpers.findNamed(page, "theme_live_blur"))
            compare(ThemeManager.currentTheme, "live_blur")
            verify(Helpers.findCard(page, "Live Blur Settings").visible)
            compare(Helpers.findNamed(page, "radiusSlider").value, 33)
            compare(Helpers.findNamed(page, "radiusLabel").text, "33")
            // A share link's radius stays as it came, its label truncated.
            ThemeManager.liveBlurRadius = 96.7
            compare(Helpers.findNamed(page, "radiusLabel").text, "96")
            compare(ThemeManager.liveBlurRadius, 96.7)
        }

        function test_controlsWriteThroughTheManager() {
            const page = createTemporaryObject(pageComponent, root)
            mouseClick(Helpers.findNamed(page, "segment_solid"))
            compare(ThemeManager.backgroundFillMode, "solid")
            mouseClick(Helpers.findNamed(page, "segment_gradient"))
            compare(ThemeManager.backgroundFillMode, "gradient")

            for (const [name, property] of [["motionSwitch", "backgroundMotionEnabled"],
                                            ["showDesktopSwitch", "liveBlurShowDesktop"],
                                            ["tickerSwitch", "showTaskTicker"],
                                            ["clockSwitch", "showClock"]]) {
                const before = ThemeManager[property]
                mouseClick(Helpers.findNamed(page, name))
                compare(ThemeManager[property], !before, property)
                mouseClick(Helpers.findNamed(page, name))
                compare(ThemeManager[property], before, property)
            }

            typeInto(Helpers.findNamed(page, "headlineField"), "Away")
            compare(ThemeManager.customHeadline, "Away")
            // Empty text is stored as it is.
            typeInto(Helpers.findNamed(page, "subtextField"), "")
            compare(ThemeManager.customSubtext, "")
        }

        function test_websiteFieldTrimsAndClears() {
            const page = createTemporaryObject(pageComponent, root)
            const field = Helpers.findNamed(page, "websiteField")
            const selected = Helpers.findNamed(page, "websiteSelectedRow")
            typeInto(field, "https://a.example ")
            compare(ThemeManager.customWebsiteURL, "https://a.example")
            verify(selected.visible)
            field.selectAll()
            keyClick(Qt.Key_Backspace)
            verify(!page.overlay.hasWebsiteURL)
            verify(!selected.visible)

            typeInto(field, "https://b.example")
            mouseClick(Helpers.findNamed(page, "clearWebsiteButton"))
            verify(!page.overlay.hasWebsiteURL)
            compare(field.text, "")
        }

        function test_failedImportShowsTheStatusAndKeepsTheText() {
            const page = createTemporaryObject(pageComponent, root)
            const field = Helpers.findNamed(page, "importField")
            typeInto(field, "nonsense")
            mouseClick(Helpers.findNamed(page, "importButton"))
            const status = Helpers.findNamed(page, "importStatus")
            compare(status.text, "Invalid theme URL")
            verify(status.visible)
            compare(status.color, SettingsStyle.error)
            compare(field.text, "nonsense")
            compare(Helpers.findNamed(page, "copyLinkButton").text, "Copy Link")
        }
    }
}
