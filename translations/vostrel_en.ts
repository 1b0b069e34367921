<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AboutModel</name>
    <message>
        <source>v%1 available</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download Update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check for Updates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Linux (Wayland)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Linux (X11)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AboutPage</name>
    <message>
        <source>About &amp; Support</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Private cover. Awake computer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>App Info</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Updates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Platform</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Support</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Email Support</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Community</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GitHub Discussions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Documentation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View Docs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Legal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Privacy Policy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Terms of Service</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AutomationActions</name>
    <message>
        <source>The lock did not come up in time.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>BuildVersion</name>
    <message>
        <source>%1 (Build %2)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CalendarSourceList</name>
    <message>
        <source>Enter a file path or an https:// address.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not a calendar source: %1. Use an absolute file path or an http(s):// address.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Already in the list.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ComingSoonPage</name>
    <message>
        <source>Coming</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These settings are on their way.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GeneralPage</name>
    <message>
        <source>General</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Theme</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings window appearance</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Startup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Launch at login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Vostrel when you log in</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep Awake</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default duration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>When activating from the tray</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sound</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lock/Unlock sounds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play a subtle sound when locking or unlocking</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lock all displays</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cover all connected monitors when locking</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keyboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Locking</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This session cannot be locked</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GeneralSettings</name>
    <message>
        <source>The login item could not be changed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Indefinitely</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>15 min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>30 min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 hour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2 hours</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>System</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Light</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dark</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HintRow</name>
    <message>
        <source>Press any key to enter PIN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Touch to unlock</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HotkeyManager</name>
    <message>
        <source>%1 is already used by another application. It locks the screen only while Vostrel is in front.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HotkeyRecorder</name>
    <message>
        <source>Press your new shortcut...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Press to instantly lock your screen from any app.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>From other apps: bind the command “vostrel lock” to a shortcut in your desktop&apos;s keyboard settings.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HotkeySettingsRow</name>
    <message>
        <source>Lock hotkey</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recording...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>IntegrationsPage</name>
    <message>
        <source>Integrations</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect Vostrel to Slack, Cloud Sync, and your scripts.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slack Status Sync</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto-set Slack status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set &quot;Away&quot; when overlay is active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slack Bot Token</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Emoji</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cloud Sync</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync themes across computers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Theme, headline, and display preferences</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A folder your own sync service keeps in step</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>~/Sync/Vostrel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync Now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calendar Auto-Tamber</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto-lock during events</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lock when Focus/Meeting/Deep Work events are active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No calendar can be read yet. Add an iCalendar file or address below.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calendars (iCalendar files or addresses)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>/home/me/work.ics or https://…/calendar.ics</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Focus Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto-lock during Focus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lock when the desktop&apos;s Do Not Disturb is active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Command line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use Vostrel actions in scripts, key bindings &amp; automations</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>IntegrationsSettings</name>
    <message>
        <source>Token should start with xoxb- or xoxp-</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Synced to Cloud Sync</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cloud Sync not available. Choose a sync folder that exists.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KeepAwakeManager</name>
    <message>
        <source>Cannot keep awake: %1; %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KeyCombination</name>
    <message>
        <source>Ctrl</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shift</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Super</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LockAvailability</name>
    <message>
        <source>No PIN is set: open Vostrel to choose one</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This Wayland session offers no secure lock (ext-session-lock-v1); Vostrel can lock X11 sessions, and Wayland sessions of sway, Hyprland, river, labwc, niri and COSMIC</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LockScreen</name>
    <message>
        <source>Vostrel lock screen overlay</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type your PIN to unlock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waiting for another application to release the keyboard…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Press Escape to close the open menu</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LockScreenProcess</name>
    <message>
        <source>The lock screen could not be started.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The lock screen ended before it locked.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The compositor refused the lock; another screen locker may hold it.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LoginItem</name>
    <message>
        <source>The path of the Vostrel program is unknown.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not create the folder %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not write %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not remove %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OnboardingView</name>
    <message>
        <source>Vostrel needs a PIN before it can lock the screen.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Get Started</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Continue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Welcome</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Privacy overlay for your computer.
Your tasks never stop.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Your PIN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a 4–6 digit PIN to unlock your overlay.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter PIN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm PIN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose Your Theme</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pick how your lock screen looks. You can change this later.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You&apos;re All Set</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Press %1 to lock your screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type your PIN to unlock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click the tray icon for settings</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OnboardingWindowController</name>
    <message>
        <source>Welcome to Vostrel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OverlayManager</name>
    <message>
        <source>The lock was lifted before it came up.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OverlayPage</name>
    <message>
        <source>Overlay &amp; Themes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Customize your lock screen appearance.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Theme</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Background</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fill style</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Solid vs gradient backdrop — all built-in themes; custom HTML and website overlays ignore this</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gradient</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Solid</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ambient motion</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slow rotating light over the backdrop; disabled for custom HTML and website overlays</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Overlay Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Headline</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Headline on the lock screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Subtext</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line under the headline</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Live Blur Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blur actual desktop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Off by default: dark gradient only. Turn on for a frosted view of your screen, captured as the lock comes up (X11; a Wayland session keeps the dark gradient).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blur intensity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Higher = more privacy, less visible</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show task ticker</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Running processes on overlay</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show clock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Custom Website Overlay</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Website URL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Load any https:// page as your lock screen — sports scores, stock tickers, dashboards, news feeds.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select &lt;b&gt;Custom Website&lt;/b&gt; theme to use this URL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Some sites block embedded browsers. Only https:// URLs are allowed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Share Theme</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export current theme</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy a shareable link to your clipboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import theme from URL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OverlayThemeID</name>
    <message>
        <source>Ashvale Dark</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimal Dark</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimal Light</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quessel Yellow</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frosted Glass</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Live Blur</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Custom Photo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Custom HTML</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Custom Website</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Deep Ocean</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aurora</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sunset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nebula</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Charcoal Mist</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PinPanel</name>
    <message>
        <source>PIN entry panel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Locked out. Try again in %1 seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Too many attempts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Try again in %1s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter PIN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter your %1-digit PIN to unlock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2 digits entered</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type numbers to enter your PIN. Press Escape to cancel.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Digit entered</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Empty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wrong PIN (%1/%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unlock with fingerprint</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Double-tap to authenticate with your fingerprint</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PinRules</name>
    <message>
        <source>PIN must be 4–6 digits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PINs don&apos;t match</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>The settings window is not part of this version yet.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ScheduleManager</name>
    <message>
        <source>Every day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Weekdays</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Weekends</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SchedulePage</name>
    <message>
        <source>Schedule</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatically lock your screen on a schedule.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time Slots</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No schedule slots configured</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Schedule Slot</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Slot</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ScheduleSlotRow</name>
    <message>
        <source>Remove slot</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SecurityPage</name>
    <message>
        <source>Security</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PIN, fingerprint, and lockout settings.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Change PIN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set PIN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No PIN is set: Vostrel cannot lock until you choose one.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current PIN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New PIN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Update PIN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Authentication</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fingerprint</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use fingerprint to unlock overlay</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Always require PIN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No grace period after recent unlock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lockout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed attempts before lockout</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SecuritySettings</name>
    <message>
        <source>Current PIN is incorrect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PIN updated successfully</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PIN set: Vostrel can lock now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 attempts</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsPages</name>
    <message>
        <source>SETTINGS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>General</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>App behavior, startup, and display preferences.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Security</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PIN, fingerprint, and lockout settings.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Overlay &amp; Themes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Customize your lock screen appearance.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Schedule</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatically lock your screen on a schedule.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Integrations</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect Vostrel to Slack, Cloud Sync, and your scripts.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About &amp; Support</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ACCOUNT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vostrel — don&apos;t interrupt the tamber.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsSidebar</name>
    <message>
        <source>Private cover. Awake computer.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsWindowController</name>
    <message>
        <source>Vostrel Settings</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SnapshotButton</name>
    <message>
        <source>Saved!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save a picture of the lock screen</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ThemeManager</name>
    <message>
        <source>Don&apos;t interrupt the tamber.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The lab is busy.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ThemeSharing</name>
    <message>
        <source>Copied!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy Link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Theme imported!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid theme URL</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TrayModel</name>
    <message>
        <source>Tambering — screen locked</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keeping awake</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Idle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tamber Mode (Keep Awake)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop Tambering</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Indefinitely</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>For 15 minutes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>For 30 minutes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>For 1 hour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lock Screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lock Now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto-lock after idle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About Vostrel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit Vostrel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>5 min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>10 min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>30 min</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UnlockFlow</name>
    <message>
        <source>Not recognised</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Touch to unlock</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WebOverlayBridge</name>
    <message>
        <source>No HTML file selected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set one in Settings → Overlay &amp; Themes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No website URL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add an https:// URL in Settings → Overlay &amp; Themes</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Weekdays</name>
    <message>
        <source>Mon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Thu</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fri</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sun</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
